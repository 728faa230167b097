// Composing status texts: the place list, templates, the service code, the
// bounds of every buffer, and a sweep over the status vocabulary.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "Tb58Wk31.h"
#include "frame/localized_string.h"
#include "frame/string_id_map.h"
#include "status/status_entries.h"
#include "status/status_text.h"
#include "support/language_guard.h"
#include "support/status_packet.h"

namespace {

using namespace tb58;
using namespace tb58::status;
using test::LanguageGuard;

struct SweepRow {
    uint32_t code;
    const char* short_text;
    const char* long_text;
};

constexpr SweepRow kSweep[] = {
#include "unit/status_sweep.inc"
};

RecListPtr Entries(std::initializer_list<std::pair<int32_t, int32_t>> rows) {
    RecListPtr entries(CreateStatusEntryList());
    for (auto [message, place] : rows) {
        StatusEntry e{message, place, {}};
        RecListAdd(entries.get(), &e);
    }
    return entries;
}

std::string PlaceList(std::initializer_list<std::pair<int32_t, int32_t>> rows, uint32_t* result = nullptr) {
    RecListPtr entries = Entries(rows);
    char out[kPlaceListCapacity];
    const uint32_t r = ComposePlaceList(entries.get(), out);
    if (result != nullptr) *result = r;
    return out;
}

std::string StatusText(uint32_t kind, std::initializer_list<int32_t> codes, uint32_t selector,
                       std::initializer_list<uint16_t> options = {}) {
    test::StatusPacket packet;
    packet.SetCodes(codes);
    for (uint16_t option : options) test::AppendDevice(packet.machine(), option);
    char text[600];
    std::memset(text, 'X', sizeof text);
    uint32_t size = 512;
    if (PatGetStatusString(kind, packet.root(), 3, selector, text, &size) != 1) {
        return "<error " + std::to_string(GetLastError()) + ">";
    }
    EXPECT_EQ(size, std::strlen(text) + 1);
    return text;
}

TEST(PlaceList, PlacesFollowTheMapOrderEachOnce) {
    LanguageGuard guard(0x0409);
    EXPECT_EQ(PlaceList({{1, 8}, {1, 34}}), "Copy Tray, Finisher Upper Tray");
    EXPECT_EQ(PlaceList({{1, 2}, {1, 0}, {1, 2}, {1, 1}}), "Tray 1, Tray 2");
    EXPECT_EQ(PlaceList({{1, 35}, {1, 5}, {1, 30}}), "LCT, Yellow, Booklet Processor");
    EXPECT_EQ(PlaceList({{1, 0}}), "");
}

TEST(PlaceList, UnknownPlaceEmptiesTheList) {
    LanguageGuard guard(0x0409);
    uint32_t result = 0;
    EXPECT_EQ(PlaceList({{1, 1}, {1, 99}}, &result), "");
    EXPECT_EQ(result, TB58_ERROR_NOT_FOUND);
}

// Every place at once is far more than the buffer holds, in every language:
// the list stays within it and ends with a whole name, each piece between
// separators being one of the language's place names in map order.
TEST(PlaceList, EveryPlaceTogetherEndsWithAWholeNameInEveryLanguage) {
    for (LANGID language : {0x0406, 0x0407, 0x0409, 0x040A, 0x040B, 0x040C, 0x0410, 0x0411, 0x0413, 0x0414, 0x0415,
                            0x0416, 0x041D}) {
        LanguageGuard guard(language);
        RecListPtr entries(CreateStatusEntryList());
        for (int32_t place = 35; place >= 1; --place) {
            StatusEntry e{1, place, {}};
            RecListAdd(entries.get(), &e);
        }
        char out[kPlaceListCapacity + 16];
        std::memset(out, 'X', sizeof out);
        ASSERT_EQ(ComposePlaceList(entries.get(), out), 0u) << std::hex << language;
        for (size_t i = kPlaceListCapacity; i < sizeof out; ++i) EXPECT_EQ(out[i], 'X') << std::hex << language;
        const std::string list(out);
        ASSERT_LT(list.size(), static_cast<size_t>(kPlaceListCapacity)) << std::hex << language;

        char separator[kSeparatorCapacity];
        ASSERT_EQ(frame::LoadLocalizedString(3500, separator, sizeof separator), 0u);
        const frame::StringIdMap* names = frame::FindStringIdMap(frame::kGroupPlaces, frame::kVariantShort);
        ASSERT_NE(names, nullptr);
        // Rebuild the list name by name as long as the names fit: it must be
        // exactly what came out.
        std::string expected;
        std::set<int32_t> seen;
        for (uint32_t row = 0; names[row].key != frame::kStringIdMapEnd; ++row) {
            if (names[row].key < 1 || names[row].key > 35 || !seen.insert(names[row].key).second) continue;
            char name[kPlaceNameCapacity];
            ASSERT_EQ(frame::LoadLocalizedString(names[row].string_id, name, sizeof name), 0u);
            const std::string next = expected.empty() ? std::string(name) : expected + separator + name;
            if (next.size() >= static_cast<size_t>(kPlaceListCapacity)) break;
            expected = next;
        }
        EXPECT_EQ(list, expected) << std::hex << language;
        EXPECT_GT(list.size(), static_cast<size_t>(kPlaceListCapacity) / 2) << std::hex << language;
    }
}

TEST(StatusText, PaperMisfeedShortText) {
    LanguageGuard guard(0x0409);
    EXPECT_EQ(StatusText(1, {42001}, 1), "Paper Misfeed");
}

TEST(StatusText, NoPaperInTwoTrays) {
    LanguageGuard guard(0x0409);
    EXPECT_EQ(StatusText(1, {41301, 41201}, 2), "Load paper in the indicated paper source tray.\nTray 1, Tray 2");
}

TEST(StatusText, MisfeedNamesTheLargeCapacityTrayCoverWhenInstalled) {
    LanguageGuard guard(0x0409);
    EXPECT_EQ(StatusText(1, {42000}, 2, {104}),
              "Open the indicated cover, and then remove any jammed paper.\nFront Cover, LCT Cover");
}

TEST(StatusText, ServiceCallWithServiceCode) {
    LanguageGuard guard(0x0409);
    test::StatusPacket packet;
    test::AppendEngineStatus(packet.machine(), 40800, "Service call SC541");
    char text[512];
    uint32_t size = sizeof text;
    ASSERT_EQ(PatGetStatusString(1, packet.root(), 3, 2, text, &size), 1);
    EXPECT_STREQ(text,
                 "Turn the main switch off, then on. \nIf this message appears again, please call your service "
                 "center. \nSC541");
    size = sizeof text;
    ASSERT_EQ(PatGetStatusString(1, packet.root(), 3, 1, text, &size), 1);
    EXPECT_STREQ(text, "Call Service Center");
}

TEST(StatusText, LowestCodeGivesTheTemplateAllGiveTheirPlaces) {
    LanguageGuard guard(0x0409);
    // 41100 ... 41500 and 41900 share one priority but not one message.
    EXPECT_EQ(StatusText(1, {41900, 41200}, 2),
              "The selected paper source tray is not installed, or is not installed properly. \n"
              "Check the indicated tray.\nTray 1, Interposer Cover");
}

TEST(StatusText, SelectorsOtherThanShortAndLongFindNoMap) {
    LanguageGuard guard(0x0409);
    EXPECT_EQ(StatusText(1, {42001}, 3), "<error 536936447>");
    EXPECT_EQ(StatusText(1, {42001}, 0x102), StatusText(1, {42001}, 2));  // only the low byte counts
}

// Every template character and every place name must stay inside the
// buffers, however many places a priority's codes name.
TEST(StatusText, ManyCodesOfOnePriorityStayWithinTheBuffers) {
    LanguageGuard guard(0x0409);
    test::StatusPacket packet;
    for (int32_t i = 0; i < 60; ++i) {
        test::AppendEngineStatus(packet.machine(), 46000 + (i % 7) * 100 + i);  // mismatch codes, priority 6925
    }
    char text[600];
    std::memset(text, 'X', sizeof text);
    uint32_t size = 512;
    ASSERT_EQ(PatGetStatusString(1, packet.root(), 3, 2, text, &size), 1);
    EXPECT_LE(std::strlen(text), 511u);
    for (size_t i = 512; i < sizeof text; ++i) EXPECT_EQ(text[i], 'X');
}

TEST(ComposeStatusText, LongTemplateWithALongListIsCutAtTheBuffersEnd) {
    LanguageGuard guard(0x0409);
    test::TestRecord record;
    const StatusContext context{1, record.get()};
    RecListPtr entries = Entries({{30722, 1}, {30722, 2}, {30722, 3}, {30722, 4}, {30722, 5}});
    char out[80];
    std::memset(out, 'X', sizeof out);
    EXPECT_EQ(ComposeStatusText(context, entries.get(), 2, out, 60), 0u);
    EXPECT_EQ(std::strlen(out), 59u);
    EXPECT_EQ(out[60], 'X');
}

TEST(ComposeStatusText, NoEntriesIsNotFound) {
    LanguageGuard guard(0x0409);
    test::TestRecord record;
    RecListPtr entries(CreateStatusEntryList());
    char out[32] = "junk";
    EXPECT_EQ(ComposeStatusText(StatusContext{1, record.get()}, entries.get(), 1, out, sizeof out),
              TB58_ERROR_NOT_FOUND);
    EXPECT_STREQ(out, "");
}

TEST(StatusSweep, EveryVocabularyCodeGivesItsEnglishTexts) {
    LanguageGuard guard(0x0409);
    EXPECT_GE(std::size(kSweep), 190u);
    for (const SweepRow& row : kSweep) {
        const auto code = static_cast<int32_t>(row.code);
        EXPECT_EQ(StatusText(1, {code}, 1), row.short_text) << row.code;
        EXPECT_EQ(StatusText(1, {code}, 2), row.long_text) << row.code;
    }
}

}  // namespace
