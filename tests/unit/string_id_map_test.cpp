// The string id maps: the index, the message catalogue's id ranges, and
// loading through a map.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "Tb58Wk31.h"
#include "frame/string_id_map.h"
#include "support/language_guard.h"

namespace {

using namespace tb58::frame;
using tb58::test::LanguageGuard;

size_t Rows(const StringIdMap* map) {
    size_t n = 0;
    while (map[n].key != kStringIdMapEnd) ++n;
    return n;
}

std::string LoadVia(int32_t group, uint32_t variant, int32_t key) {
    char text[512] = "junk";
    const uint32_t result = LoadMappedString(FindStringIdMap(group, variant), key, text, sizeof text);
    EXPECT_EQ(result, 0u) << group << "/" << variant << " key " << key;
    return text;
}

TEST(StringIdMapIndex, EveryMapIsRegisteredWithItsRowCount) {
    struct Expected {
        int32_t group;
        uint8_t variant;
        size_t rows;
    };
    for (const Expected& e : {Expected{1, 2, 108}, Expected{1, 1, 108}, Expected{2, 2, 46}, Expected{2, 1, 46},
                              Expected{3, 1, 35}, Expected{4, 1, 14}}) {
        const StringIdMap* map = FindStringIdMap(e.group, e.variant);
        ASSERT_NE(map, nullptr) << e.group << "/" << int{e.variant};
        EXPECT_EQ(Rows(map), e.rows) << e.group << "/" << int{e.variant};
    }
}

TEST(StringIdMapIndex, OnlyTheLowByteOfTheVariantCounts) {
    EXPECT_EQ(FindStringIdMap(1, 0x0101), FindStringIdMap(1, 1));
    EXPECT_EQ(FindStringIdMap(1, 0xFFFFFF02u), FindStringIdMap(1, 2));
    EXPECT_EQ(FindStringIdMap(1, 3), nullptr);
    EXPECT_EQ(FindStringIdMap(3, 2), nullptr);
    EXPECT_EQ(FindStringIdMap(0, 1), nullptr);
    EXPECT_EQ(FindStringIdMap(5, 1), nullptr);
}

TEST(MessageMaps, NormalGroupUsesConsecutiveIdsInRowOrder) {
    const StringIdMap* short_map = FindStringIdMap(1, 1);
    const StringIdMap* long_map = FindStringIdMap(1, 2);
    for (size_t i = 0; i < 108; ++i) {
        EXPECT_EQ(short_map[i].key, long_map[i].key) << i;
        EXPECT_EQ(short_map[i].string_id, 1000 + i);
        EXPECT_EQ(long_map[i].string_id, 2000 + i);
    }
}

TEST(MessageMaps, AlternateGroupSharesIdsBetweenRelatedCodes) {
    const StringIdMap* short_map = FindStringIdMap(2, 1);
    const StringIdMap* long_map = FindStringIdMap(2, 2);
    for (size_t i = 0; i < 46; ++i) {
        EXPECT_EQ(short_map[i].key, long_map[i].key) << i;
        EXPECT_EQ(short_map[i].string_id + 1000, long_map[i].string_id) << i;
    }
    LanguageGuard guard(0x0409);
    for (int32_t code : {10075, 10074, 10073, 10072}) {
        EXPECT_EQ(LoadVia(2, 2, code), "Toner is almost empty.\nPlease keep a spare Toner Cartridge handy.\n%s");
    }
    EXPECT_EQ(LoadVia(2, 1, 40721), "Paper Source Tray Error");
    EXPECT_EQ(LoadVia(2, 1, 10001), "");  // the alternate Ready condition has no text
    EXPECT_EQ(LoadVia(2, 2, 10001), "");
}

TEST(MessageMaps, CodesWhoseLongTextIsAbsent) {
    LanguageGuard guard(0x0409);
    for (int32_t code : {510023, 410023, 410028}) {
        EXPECT_EQ(LoadVia(1, 1, code), "In Use") << code;
        EXPECT_EQ(LoadVia(1, 2, code), "") << code;
    }
}

TEST(MessageMaps, IdenticalTextsOfDifferentMessages) {
    LanguageGuard guard(0x0409);
    EXPECT_EQ(LoadVia(1, 2, 50110), LoadVia(1, 2, 50111));
    EXPECT_EQ(LoadVia(1, 2, 50112), LoadVia(1, 2, 50113));
    for (int32_t code : {1041000, 1041900, 40200, 240101}) {
        EXPECT_EQ(LoadVia(1, 2, code), "Close the indicated cover.\n%s") << code;
    }
    EXPECT_EQ(LoadVia(1, 1, -254), "No Response from Machine");
}

TEST(PlaceAndOptionMaps, NamesLoadThroughTheirMaps) {
    LanguageGuard guard(0x0409);
    EXPECT_EQ(LoadVia(3, 1, 34), "Copy Tray");
    EXPECT_EQ(LoadVia(3, 1, 29), "Mailbox Tray 9");
    EXPECT_EQ(LoadVia(3, 1, 35), "Booklet Processor");
    EXPECT_EQ(LoadVia(4, 1, 649), "Booklet Processor");
    EXPECT_EQ(LoadVia(4, 1, 637), "Auto Document Feeder // ADF");
    // The copy tray is listed before the finisher trays.
    const StringIdMap* places = FindStringIdMap(3, 1);
    EXPECT_EQ(places[7].key, 34);
    EXPECT_EQ(places[8].key, 8);
}

TEST(LoadMappedString, FirstRowOfADuplicatedKeyWins) {
    LanguageGuard guard(0x0409);
    const StringIdMap map[] = {{7, 3000}, {7, 3001}, {kStringIdMapEnd, 0}};
    char text[32];
    EXPECT_EQ(LoadMappedString(map, 7, text, sizeof text), 0u);
    EXPECT_STREQ(text, "Tray 1");
}

TEST(LoadMappedString, MissingKeyNullMapAndNoCapacity) {
    LanguageGuard guard(0x0409);
    char text[32] = "junk";
    EXPECT_EQ(LoadMappedString(FindStringIdMap(4, 1), 640, text, sizeof text), TB58_ERROR_NOT_FOUND);
    EXPECT_STREQ(text, "");
    std::strcpy(text, "junk");
    EXPECT_EQ(LoadMappedString(nullptr, 637, text, sizeof text), TB58_ERROR_NOT_FOUND);
    EXPECT_STREQ(text, "");
    std::strcpy(text, "junk");
    EXPECT_EQ(LoadMappedString(FindStringIdMap(4, 1), 637, text, 0), TB58_ERROR_NOT_FOUND);
    EXPECT_STREQ(text, "junk");  // nothing may be written without capacity
}

TEST(LoadMappedString, FailedLoadLeavesTheEmptyText) {
    LanguageGuard guard(0x0409);
    const StringIdMap map[] = {{1, 60000}, {kStringIdMapEnd, 0}};
    char text[32] = "junk";
    EXPECT_EQ(LoadMappedString(map, 1, text, sizeof text), TB58_ERROR_NOT_FOUND);
    EXPECT_STREQ(text, "");
}

}  // namespace
