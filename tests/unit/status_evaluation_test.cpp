// Status evaluation: key texts and matching, priorities per kind, code
// selection, the entries of each code, the merged record, error classes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <set>
#include <vector>

#include "Tb58Wk31.h"
#include "core/error_status_codes.h"
#include "frame/string_id_map.h"
#include "status/status_places.h"
#include "support/language_guard.h"
#include "status/status_entries.h"
#include "status/status_key.h"
#include "status/status_record.h"
#include "status/status_selection.h"
#include "support/status_key_oracle.h"
#include "support/status_packet.h"

namespace {

using namespace tb58;
using namespace tb58::status;
using test::AppendDevice;
using test::AppendEngineStatus;
using test::TestRecord;

std::vector<uint32_t> Selected(uint32_t kind, PrnInfoEx* record, uint32_t* result = nullptr) {
    RecListPtr codes(CreateStatusCodeList());
    const uint32_t r = SelectStatusCodes(StatusContext{kind, record}, codes.get());
    if (result != nullptr) *result = r;
    std::vector<uint32_t> out;
    for (uint32_t i = 1; i <= RecListCount(codes.get()); ++i) {
        out.push_back(*static_cast<uint32_t*>(RecListGetPtr(codes.get(), i)));
    }
    return out;
}

struct Entry {
    int32_t message;
    int32_t place;
    std::string text;
    bool operator==(const Entry&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Entry& e) {
    return os << "{" << e.message << ", " << e.place << ", \"" << e.text << "\"}";
}

std::vector<Entry> EntriesOf(uint32_t kind, PrnInfoEx* record, uint32_t code) {
    RecListPtr entries(CreateStatusEntryList());
    EXPECT_EQ(EvaluateStatusCode(StatusContext{kind, record}, code, entries.get()), 0u);
    std::vector<Entry> out;
    for (uint32_t i = 1; i <= RecListCount(entries.get()); ++i) {
        const auto* e = static_cast<const StatusEntry*>(RecListGetPtr(entries.get(), i));
        out.push_back({e->message, e->place, e->text});
    }
    return out;
}

TEST(StatusKey, CodesAndKeysAsNumbers) {
    EXPECT_EQ(StatusCode(0).digits, 1u);
    EXPECT_EQ(StatusCode(9).digits, 1u);
    EXPECT_EQ(StatusCode(10).digits, 2u);
    EXPECT_EQ(StatusCode(0xFFFFFF02u).digits, 10u);  // -254 is "4294967042"
    EXPECT_EQ(StatusCode(0xFFFFFFFFu).digits, 10u);
    const StatusKeyPattern range = CompileStatusKey("410yy");
    EXPECT_TRUE(KeyMatchesCode(range, StatusCode(41055), KeyMatch::kCovering));
    EXPECT_TRUE(KeyMatchesCode(range, StatusCode(41000), KeyMatch::kCovering));
    EXPECT_FALSE(KeyMatchesCode(range, StatusCode(41100), KeyMatch::kCovering));
    EXPECT_FALSE(KeyMatchesCode(range, StatusCode(410555), KeyMatch::kCovering));
    EXPECT_FALSE(KeyMatchesCode(range, StatusCode(4105), KeyMatch::kCovering));
    EXPECT_FALSE(KeyMatchesCode(range, StatusCode(41000), KeyMatch::kEqual));
    EXPECT_TRUE(KeyMatchesCode(CompileStatusKey("42000"), StatusCode(42000), KeyMatch::kEqual));
    EXPECT_TRUE(KeyMatchesCode(CompileStatusKey("4294967042"), StatusCode(0xFFFFFF02u), KeyMatch::kEqual));
    // Shapes a table may not hold: the build stops at them (CompileTableKey).
    for (const char* key : {"1y2", "0123", "", "41a0", "4294967296", "STATUS_DEFAULT_BMP"}) {
        EXPECT_FALSE(CompileStatusKey(key).numeric) << key;
    }
}

// The compiled keys the table walks use agree with the text rules for every
// key of every table.
TEST(StatusKey, CompiledKeysAgreeWithTheTextRules) {
    std::vector<const char*> keys;
    for (const StatusPriorityRow* t : {kKind1StatusPriorities, kKind8StatusPriorities, kKind2StatusPriorities}) {
        for (; t->key != nullptr; ++t) keys.push_back(t->key);
    }
    for (const StatusCodeRow* t : {kStatusCodeTable, kAlternateStatusCodeTable}) {
        for (; t->key != nullptr; ++t) keys.push_back(t->key);
    }
    std::vector<uint32_t> codes = {0, 1, 9, 10, 99999, 100000, 0xFFFFFFFFu, 0xFFFFFF02u};
    for (const char* key : keys) {
        for (int digit = 0; digit <= 9; ++digit) {
            std::string text(key);
            for (char& c : text) {
                if (c >= 'a' && c <= 'z') c = static_cast<char>('0' + digit);
            }
            const auto value = static_cast<uint32_t>(std::stoull(text));
            codes.insert(codes.end(), {value, value - 1, value + 1, value * 10, value / 10});
        }
    }
    std::sort(keys.begin(), keys.end(), [](const char* a, const char* b) { return std::strcmp(a, b) < 0; });
    keys.erase(std::unique(keys.begin(), keys.end(), [](const char* a, const char* b) { return std::strcmp(a, b) == 0; }),
               keys.end());
    std::sort(codes.begin(), codes.end());
    codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
    for (const char* key : keys) {
        const StatusKeyPattern pattern = CompileStatusKey(key);
        ASSERT_TRUE(pattern.numeric) << key;
        for (uint32_t code : codes) {
            const std::string text = test::StatusKeyText(code);
            ASSERT_EQ(KeyMatchesCode(pattern, StatusCode(code), KeyMatch::kEqual), text == key) << key << " " << code;
            ASSERT_EQ(KeyMatchesCode(pattern, StatusCode(code), KeyMatch::kCovering), test::KeyTextMatches(text, key))
                << key << " " << code;
        }
    }
}

// The one walk every status table is read with: equal rows in table order,
// covering rows only when no row is equal, and a stop when asked.
TEST(StatusKey, MatchingRowsEqualFirstThenCovering) {
    static constinit const StatusCodeRow table[] = {
        {"410yy", 1, 0}, {"41055", 2, 0}, {"4105y", 3, 0}, {"41055", 4, 0}, {"41yyy", 5, 0}, {nullptr, 0, 0},
    };
    const auto messages = [](uint32_t code, size_t stop_after) {
        std::vector<int32_t> seen;
        ForEachMatchingRow(table, code, [&seen, stop_after](const StatusCodeRow& row) {
            seen.push_back(row.message);
            return seen.size() < stop_after;
        });
        return seen;
    };
    EXPECT_EQ(messages(41055, 99), (std::vector<int32_t>{2, 4}));
    EXPECT_EQ(messages(41055, 1), (std::vector<int32_t>{2}));
    EXPECT_EQ(messages(41056, 99), (std::vector<int32_t>{1, 3, 5}));
    EXPECT_EQ(messages(41056, 2), (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(messages(41100, 99), (std::vector<int32_t>{5}));
    EXPECT_EQ(messages(4105, 99), (std::vector<int32_t>{}));
    EXPECT_EQ(messages(410550, 99), (std::vector<int32_t>{}));
    std::vector<int32_t> none;
    ForEachMatchingRow(static_cast<const StatusCodeRow*>(nullptr), 41055, [&none](const StatusCodeRow& row) {
        none.push_back(row.message);
        return true;
    });
    EXPECT_TRUE(none.empty());
}

TEST(StatusPriority, ExactBeforeWildcardAndUnlisted) {
    EXPECT_EQ(FindStatusPriority(kKind1StatusPriorities, 41000).priority, 6900);
    EXPECT_EQ(FindStatusPriority(kKind1StatusPriorities, 41055).priority, 6905);
    const StatusPriority unknown = FindStatusPriority(kKind1StatusPriorities, 12345);
    EXPECT_FALSE(unknown.found);
    EXPECT_EQ(unknown.priority, 0xFFFF);
    EXPECT_FALSE(FindStatusPriority(nullptr, 10001).found);
    EXPECT_EQ(FindStatusPriority(kKind2StatusPriorities, 0xFFFFFF02u).priority, 1);
}

// Properties of the status tables that a wrong row breaks: a priority key
// listed twice is shadowed (the first row wins), a row's message has a
// short and a long text in every language, and its place has a name.
TEST(StatusTables, NoShadowedPriorityAndEveryRowSpeaksEveryLanguage) {
    for (const StatusPriorityRow* table : {kKind1StatusPriorities, kKind8StatusPriorities, kKind2StatusPriorities}) {
        std::set<std::string> keys;
        for (const StatusPriorityRow* row = table; row->key != nullptr; ++row) {
            EXPECT_TRUE(keys.insert(row->key).second) << row->key << " listed twice";
        }
    }
    const frame::StringIdMap* places = frame::FindStringIdMap(frame::kGroupPlaces, frame::kVariantShort);
    ASSERT_NE(places, nullptr);
    using Table = std::pair<const StatusCodeRow*, int32_t>;
    for (const auto& [table, group] : {Table{kStatusCodeTable, frame::kGroupMessages},
                                       Table{kAlternateStatusCodeTable, frame::kGroupAlternateMessages}}) {
        for (const StatusCodeRow* row = table; row->key != nullptr; ++row) {
            if (row->place != kNoPlace) {
                bool named = false;
                for (const frame::StringIdMap* place = places; place->key != frame::kStringIdMapEnd; ++place) {
                    named = named || place->key == row->place;
                }
                EXPECT_TRUE(named) << row->key << " place " << row->place;
            }
            // A text is empty in every language or in none (a message may
            // have no long text).
            for (uint8_t variant : {frame::kVariantShort, frame::kVariantLong}) {
                std::set<bool> empty;
                for (LANGID language : {0x0406, 0x0407, 0x0409, 0x040A, 0x040B, 0x040C, 0x0410, 0x0411, 0x0413,
                                        0x0414, 0x0415, 0x0416, 0x041D}) {
                    test::LanguageGuard guard(language);
                    char text[600] = {};
                    ASSERT_EQ(frame::LoadMappedString(frame::FindStringIdMap(group, variant), row->message, text,
                                                      sizeof text),
                              0u)
                        << row->key << " message " << row->message << " language " << language;
                    empty.insert(text[0] == '\0');
                }
                EXPECT_EQ(empty.size(), 1u) << row->key << " message " << row->message;
            }
        }
    }
    EXPECT_EQ(PriorityTableOfKind(TB58_KIND_ALTERNATE | TB58_KIND_COPIER), kKind1StatusPriorities);
    EXPECT_EQ(PriorityTableOfKind(TB58_KIND_ALTERNATE | TB58_KIND_SCANNER), kKind1StatusPriorities);
    EXPECT_EQ(PriorityTableOfKind(TB58_KIND_MACHINE), nullptr);
    EXPECT_EQ(PriorityTableOfKind(0x10001u), nullptr);
}

TEST(SelectStatusCodes, MostUrgentPriorityOnlySortedUnsigned) {
    TestRecord record;
    AppendEngineStatus(record.get(), 41301);
    AppendEngineStatus(record.get(), 10001);
    AppendEngineStatus(record.get(), 41201);
    EXPECT_EQ(Selected(1, record.get()), (std::vector<uint32_t>{41201, 41301}));
}

TEST(SelectStatusCodes, ServiceCallOutranksReady) {
    TestRecord record;
    AppendEngineStatus(record.get(), 10001);
    AppendEngineStatus(record.get(), 40800);
    EXPECT_EQ(Selected(1, record.get()), (std::vector<uint32_t>{40800}));
}

// The order of urgency a person relies on, in both orders of the chain and
// for every kind with priorities of its own: a service call outranks every
// jam, a jam outranks paper and toner conditions, and each of those
// outranks normal operation.  Codes of a class are taken at both ends of
// their ranges.
TEST(SelectStatusCodes, ServiceCallThenJamThenPaperAndTonerThenReady) {
    const std::vector<uint32_t> jams = {42000, 42001, 42005, 42007, 42010, 42011, 42015};
    const std::vector<uint32_t> paper_and_toner = {41000, 41001, 41099, 41100, 41199, 41500, 41599, 41900,
                                                   41999, 40012, 40015, 30013, 30015, 10072, 10075};
    const auto more_urgent = [](uint32_t kind, uint32_t urgent, uint32_t other) {
        for (const bool urgent_first : {true, false}) {
            TestRecord record;
            AppendEngineStatus(record.get(), static_cast<int32_t>(urgent_first ? urgent : other));
            AppendEngineStatus(record.get(), static_cast<int32_t>(urgent_first ? other : urgent));
            EXPECT_EQ(Selected(kind, record.get()), (std::vector<uint32_t>{urgent}))
                << "kind " << std::hex << kind << std::dec << ": " << urgent << " before " << other;
        }
    };
    for (const uint32_t kind : {1u, 8u, TB58_KIND_ALTERNATE | 1u}) {
        for (const uint32_t jam : jams) {
            more_urgent(kind, TB58_STATUS_SERVICE_CALL, jam);
            for (const uint32_t condition : paper_and_toner) more_urgent(kind, jam, condition);
        }
        for (const uint32_t condition : paper_and_toner) more_urgent(kind, condition, 10001);
    }
    // The copier's priorities know no jam; the service call still comes first.
    for (const uint32_t jam : jams) more_urgent(2, TB58_STATUS_SERVICE_CALL, jam);
}

TEST(SelectStatusCodes, NoResponseOutranksEverything) {
    TestRecord record;
    AppendEngineStatus(record.get(), 40800);
    AppendEngineStatus(record.get(), 42000);
    record->bNoResponse = 1;
    EXPECT_EQ(Selected(1, record.get()), (std::vector<uint32_t>{0xFFFFFF02u}));
    EXPECT_EQ(Selected(2, record.get()), (std::vector<uint32_t>{0xFFFFFF02u}));
}

TEST(SelectStatusCodes, EmptyRecordSelectsNothingAndSucceeds) {
    TestRecord record;
    uint32_t result = 99;
    EXPECT_TRUE(Selected(1, record.get(), &result).empty());
    EXPECT_EQ(result, 0u);
}

TEST(SelectStatusCodes, KindsWithoutPriorityTable) {
    TestRecord record;
    AppendEngineStatus(record.get(), 10001);
    for (uint32_t kind : {0x8000u, 0x10001u, 4u, 0x80008000u}) {
        uint32_t result = 0;
        EXPECT_TRUE(Selected(kind, record.get(), &result).empty()) << std::hex << kind;
        EXPECT_EQ(result, TB58_ERROR_NOT_FOUND) << std::hex << kind;
    }
}

TEST(SelectStatusCodes, EachKindUsesItsOwnPriorities) {
    TestRecord record;
    AppendEngineStatus(record.get(), 30351);
    AppendEngineStatus(record.get(), 10001);
    EXPECT_EQ(Selected(8, record.get()), (std::vector<uint32_t>{10001}));  // kind 8 does not list 30351
    EXPECT_EQ(Selected(1, record.get()), (std::vector<uint32_t>{30351}));
    EXPECT_EQ(Selected(0x80000008u, record.get()), (std::vector<uint32_t>{30351}));  // kind-1 priorities
}

TEST(SelectStatusCodes, UnlistedCodesOnlyWhenNothingListedAndDuplicatesKept) {
    TestRecord record;
    AppendEngineStatus(record.get(), 12345);
    AppendEngineStatus(record.get(), 50103);
    AppendEngineStatus(record.get(), 12345);
    EXPECT_EQ(Selected(1, record.get()), (std::vector<uint32_t>{12345, 12345, 50103}));
    AppendEngineStatus(record.get(), 10001);
    EXPECT_EQ(Selected(1, record.get()), (std::vector<uint32_t>{10001}));
}

TEST(EvaluateStatusCode, ExactRowWinsOverTheWildcard) {
    TestRecord record;
    EXPECT_EQ(EntriesOf(1, record.get(), 41000), (std::vector<Entry>{{1041000, 16, ""}}));
    EXPECT_EQ(EntriesOf(1, record.get(), 41055), (std::vector<Entry>{{41000, 5, ""}}));
    EXPECT_EQ(EntriesOf(1, record.get(), 41201), (std::vector<Entry>{{41000, 1, ""}}));
}

TEST(EvaluateStatusCode, KeysWithTwoRowsGiveTwoEntries) {
    TestRecord record;
    EXPECT_EQ(EntriesOf(1, record.get(), 42011), (std::vector<Entry>{{42000, 19, ""}, {42000, 20, ""}}));
    EXPECT_EQ(EntriesOf(1, record.get(), 42010), (std::vector<Entry>{{42000, 14, ""}, {42000, 15, ""}}));
}

TEST(EvaluateStatusCode, ShiftTrayPlacesFollowTheFinisher) {
    TestRecord plain;
    TestRecord two_trays;
    AppendDevice(two_trays.get(), 38);
    EXPECT_EQ(EntriesOf(1, two_trays.get(), 30341), (std::vector<Entry>{{30351, 9, ""}}));
    EXPECT_EQ(EntriesOf(1, plain.get(), 30341), (std::vector<Entry>{{30351, 11, ""}}));
    EXPECT_EQ(EntriesOf(1, two_trays.get(), 30343), (std::vector<Entry>{{30351, 10, ""}}));
    EXPECT_EQ(EntriesOf(1, plain.get(), 30343), (std::vector<Entry>{{30351, 12, ""}}));
    EXPECT_EQ(EntriesOf(1, two_trays.get(), 40341), (std::vector<Entry>{{40340, 9, ""}}));
    EXPECT_EQ(EntriesOf(1, plain.get(), 40343), (std::vector<Entry>{{40340, 12, ""}}));
    EXPECT_EQ(EntriesOf(1, two_trays.get(), 40382), (std::vector<Entry>{{40382, 10, ""}}));
    EXPECT_EQ(EntriesOf(1, plain.get(), 40383), (std::vector<Entry>{{40383, 12, ""}}));
}

TEST(EvaluateStatusCode, BookletTrayAndLargeCapacityTray) {
    TestRecord plain;
    TestRecord options;
    AppendDevice(options.get(), 115);
    AppendDevice(options.get(), 104);
    EXPECT_EQ(EntriesOf(1, plain.get(), 30382), (std::vector<Entry>{{30382, 0, ""}}));
    EXPECT_EQ(EntriesOf(1, options.get(), 30382), (std::vector<Entry>{{1030382, 0, ""}}));
    EXPECT_EQ(EntriesOf(1, plain.get(), 42000), (std::vector<Entry>{{42000, 13, ""}}));
    EXPECT_EQ(EntriesOf(1, options.get(), 42000), (std::vector<Entry>{{42000, 13, ""}, {42000, 16, ""}}));
}

TEST(EvaluateStatusCode, ServiceCallCarriesTheServiceCode) {
    TestRecord record;
    AppendEngineStatus(record.get(), 10001, "SC999");
    AppendEngineStatus(record.get(), 40800, "Call service SC300 then SC541");
    AppendEngineStatus(record.get(), 40800, "SC777");
    EXPECT_EQ(EntriesOf(1, record.get(), 40800), (std::vector<Entry>{{40800, 0, "SC541"}}));
    TestRecord without;
    AppendEngineStatus(without.get(), 40800, "Call service");
    EXPECT_EQ(EntriesOf(1, without.get(), 40800), (std::vector<Entry>{{40800, 0, ""}}));
}

TEST(EvaluateStatusCode, ServiceTextWithoutTerminatorIsReadWithinItsField) {
    TestRecord record;
    AppendEngineStatus(record.get(), 40800);
    std::memset(record->pEngineStatus->szText, 'S', sizeof record->pEngineStatus->szText);
    record->pEngineStatus->szText[258] = 'C';
    record->pEngineStatus->szText[259] = '1';
    // No zero in the field: the text ends at the field's end.
    EXPECT_EQ(EntriesOf(1, record.get(), 40800), (std::vector<Entry>{{40800, 0, "SC1"}}));
}

TEST(EvaluateStatusCode, AlternatePresentationUsesItsOwnTable) {
    TestRecord record;
    EXPECT_TRUE(EntriesOf(0x80000001u, record.get(), 30351).empty());
    EXPECT_EQ(EntriesOf(0x80000001u, record.get(), 10073), (std::vector<Entry>{{10075, 32, ""}}));
    EXPECT_TRUE(EntriesOf(1, record.get(), 12345).empty());
}

TEST(ExtractServiceCode, LastUpperCasePairToTheEnd) {
    char out[8];
    EXPECT_EQ(ExtractServiceCode("err SC541", 64, out, sizeof out), 0u);
    EXPECT_STREQ(out, "SC541");
    EXPECT_EQ(ExtractServiceCode("sc541", 64, out, sizeof out), 0u);
    EXPECT_STREQ(out, "");
    EXPECT_EQ(ExtractServiceCode("SC1234567890", 64, out, sizeof out), 0u);
    EXPECT_STREQ(out, "SC12345");
    EXPECT_EQ(ExtractServiceCode(nullptr, 64, out, sizeof out), TB58_ERROR_INVALID_PARAMETER);
    EXPECT_EQ(ExtractServiceCode("SC1", 64, nullptr, 8), TB58_ERROR_INVALID_PARAMETER);
}

TEST(IsErrorStatusCode, Boundaries) {
    EXPECT_TRUE(IsErrorStatusCode(10002));
    EXPECT_FALSE(IsErrorStatusCode(10001));
    EXPECT_FALSE(IsErrorStatusCode(40000));
    EXPECT_TRUE(IsErrorStatusCode(40001));
    EXPECT_TRUE(IsErrorStatusCode(49999));
    EXPECT_FALSE(IsErrorStatusCode(50000));
    EXPECT_FALSE(IsErrorStatusCode(40342));
    EXPECT_TRUE(IsErrorStatusCode(40341));
    EXPECT_FALSE(IsErrorStatusCode(40440));
    EXPECT_FALSE(IsErrorStatusCode(40443));
    EXPECT_TRUE(IsErrorStatusCode(40444));
    EXPECT_FALSE(IsErrorStatusCode(0xFFFFFF02u));
}

TEST(GetStatusRecord, KindRecordCompletedFromTheMachineRecord) {
    test::StatusPacket packet;
    PrnInfoEx* machine = packet.machine();
    PrnInfoEx* function = packet.function();
    AppendEngineStatus(machine, 10001);
    AppendEngineStatus(function, 42000);
    AppendDevice(function, 38);
    machine->dwMemorySize = 1024;
    machine->bModelCode = 7;
    function->dwMemorySize = 55;
    function->bNoResponse = 1;
    function->dwTrayState = 9;
    PrnInfoEx merged{};
    ASSERT_EQ(GetStatusRecord(1, packet.root(), &merged), 0u);
    EXPECT_EQ(merged.pEngineStatus, machine->pEngineStatus);  // the machine has a chain
    EXPECT_EQ(merged.nEngineStatus, 1u);
    EXPECT_EQ(merged.pDeviceInfo, function->pDeviceInfo);  // the machine has none
    EXPECT_EQ(merged.dwMemorySize, 1024u);
    EXPECT_EQ(merged.bModelCode, 7);
    EXPECT_EQ(merged.bNoResponse, 1);
    EXPECT_EQ(merged.dwTrayState, 9u);
    EXPECT_EQ(merged.dwSize, function->dwSize);
}

TEST(GetStatusRecord, MalformedPacketsAreInvalid) {
    PrnInfoEx out{};
    EXPECT_EQ(GetStatusRecord(1, nullptr, &out), TB58_ERROR_INVALID_PARAMETER);
    test::StatusPacket packet;
    EXPECT_EQ(GetStatusRecord(4, packet.root(), &out), TB58_ERROR_INVALID_PARAMETER);
    EXPECT_EQ(GetStatusRecord(2, packet.root(), &out), TB58_ERROR_INVALID_PARAMETER);  // no child 3
    packet.function()->dwSize = 403;
    EXPECT_EQ(GetStatusRecord(1, packet.root(), &out), TB58_ERROR_INVALID_PARAMETER);
    packet.function()->dwSize = 404;
    EXPECT_EQ(GetStatusRecord(1, packet.root(), &out), 0u);
    packet.root()->key = ITEM_QUERY_INFO;
    EXPECT_EQ(GetStatusRecord(1, packet.root(), &out), TB58_ERROR_INVALID_PARAMETER);
}

TEST(GetStatusRecord, MachineKindTakesTheChildTheRootNames) {
    test::StatusPacket packet(7, 7);  // the root's data length names child 7
    PrnInfoEx out{};
    EXPECT_EQ(GetStatusRecord(0x8000, packet.root(), &out), 0u);
    test::StatusPacket unnamed(7, 0);
    EXPECT_EQ(GetStatusRecord(0x8000, unnamed.root(), &out), TB58_ERROR_INVALID_PARAMETER);
}

}  // namespace
