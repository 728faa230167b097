// The status picture's tables: their shape, keys that never compete, and
// placements that name bitmaps the module carries.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "frame/module_instance.h"
#include "platform/win32_api.h"
#include "status/picture/bitmap_lookup.h"
#include "status/picture/bitmap_tables.h"
#include "status/status_key.h"
#include "support/status_key_oracle.h"

namespace {

using namespace tb58::status;

std::vector<const StatusBitmapRecord*> RecordsOf(const StatusBitmapRecord* table) {
    std::vector<const StatusBitmapRecord*> records;
    for (; table->key != nullptr; ++table) records.push_back(table);
    return records;
}

TEST(PictureTables, IndexOrderAndTableSizes) {
    struct Expected {
        int16_t device;
        size_t records;
    };
    const Expected expected[] = {{-2, 94}, {104, 8}, {41, 6}, {6, 2},   {8, 12}, {113, 4},
                                 {38, 18}, {21, 10}, {115, 17}, {114, 9}, {22, 3}};
    size_t i = 0;
    for (const DeviceBitmapIndexEntry* entry = kDeviceBitmapIndex; entry->device != kEndOfDeviceIndex; ++entry, ++i) {
        ASSERT_LT(i, std::size(expected));
        EXPECT_EQ(entry->device, expected[i].device);
        EXPECT_EQ(RecordsOf(entry->table).size(), expected[i].records) << entry->device;
        EXPECT_EQ(FindDeviceBitmapTable(entry->device), entry->table);
    }
    EXPECT_EQ(i, std::size(expected));
    EXPECT_EQ(FindDeviceBitmapTable(7), nullptr);
    EXPECT_EQ(FindDeviceBitmapTable(kEndOfDeviceIndex), nullptr);
}

// Each table starts with its default record; its keys are distinct and no
// code matches two of them in the same pass (a code that is some table's
// key is looked up exactly, any other through the wildcard keys), so the
// records' order never matters; every record starts with the device's own
// picture.
TEST(PictureTables, KeysNeverCompete) {
    for (const DeviceBitmapIndexEntry* entry = kDeviceBitmapIndex; entry->device != kEndOfDeviceIndex; ++entry) {
        SCOPED_TRACE(entry->device);
        const std::vector<const StatusBitmapRecord*> records = RecordsOf(entry->table);
        ASSERT_FALSE(records.empty());
        EXPECT_STREQ(records[0]->key, kDefaultBitmapKey);
        EXPECT_TRUE(records[0]->is_default);
        for (size_t a = 0; a < records.size(); ++a) {
            EXPECT_STREQ(records[a]->placements[0].szName, records[0]->placements[0].szName) << records[a]->key;
            if (a > 0) {
                EXPECT_FALSE(records[a]->is_default) << records[a]->key;
                ASSERT_TRUE(records[a]->pattern.numeric) << records[a]->key;
            }
            for (size_t b = 1; b < a; ++b) {
                const StatusKeyPattern& p = records[a]->pattern;
                const StatusKeyPattern& q = records[b]->pattern;
                const bool overlap =
                    p.wildcard == q.wildcard && p.length == q.length && p.low <= q.high && q.low <= p.high;
                EXPECT_FALSE(overlap) << records[a]->key << " and " << records[b]->key;
            }
        }
    }
}

// The compiled keys agree with the text rules for every key.
TEST(PictureTables, CompiledKeysAgreeWithTheTextRules) {
    for (const DeviceBitmapIndexEntry* entry = kDeviceBitmapIndex; entry->device != kEndOfDeviceIndex; ++entry) {
        for (const StatusBitmapRecord* record : RecordsOf(entry->table)) {
            if (record->is_default) continue;
            ASSERT_TRUE(record->pattern.numeric) << record->key;
            for (uint32_t code : {record->pattern.low, record->pattern.high, record->pattern.low - 1,
                                  record->pattern.high + 1, record->pattern.low * 10}) {
                const std::string text = tb58::test::StatusKeyText(code);
                EXPECT_EQ(KeyMatchesCode(record->pattern, StatusCode(code), KeyMatch::kCovering),
                          tb58::test::KeyTextMatches(text, record->key))
                    << record->key << " " << code;
                EXPECT_EQ(KeyMatchesCode(record->pattern, StatusCode(code), KeyMatch::kEqual), text == record->key)
                    << record->key << " " << code;
            }
        }
    }
}

// Every placement names a bitmap the module carries, and on an even layer
// also its mask.
TEST(PictureTables, PlacementsNameTheModulesBitmaps) {
    HMODULE module = tb58::frame::ModuleInstance();
    for (const DeviceBitmapIndexEntry* entry = kDeviceBitmapIndex; entry->device != kEndOfDeviceIndex; ++entry) {
        for (const StatusBitmapRecord* record : RecordsOf(entry->table)) {
            SCOPED_TRACE(record->key);
            ASSERT_GE(record->count, 1u);
            ASSERT_LE(record->count, kMaxPlacements);
            for (uint32_t i = 0; i < record->count; ++i) {
                const BitmapLayer& placement = record->placements[i];
                EXPECT_EQ(placement.dwRop, 0u);
                EXPECT_NE(placement.bLayer, 0);
                EXPECT_NE(FindResourceA(module, placement.szName, RT_BITMAP), nullptr) << placement.szName;
                if (placement.bLayer % 2 == 0) {
                    const std::string mask = std::string(placement.szName) + "_B";
                    EXPECT_NE(FindResourceA(module, mask.c_str(), RT_BITMAP), nullptr) << mask;
                }
            }
        }
    }
}

TEST(PictureTables, RecordLookup) {
    const StatusBitmapRecord* main_body = FindDeviceBitmapTable(kMainBodyDevice);
    // Exact keys, wildcard keys, and the default when nothing matches.
    EXPECT_STREQ(FindStatusBitmapRecord(main_body, 40800, false)->key, "40800");
    EXPECT_STREQ(FindStatusBitmapRecord(main_body, 46123, true)->key, "461yy");
    EXPECT_STREQ(FindStatusBitmapRecord(main_body, 46123, false)->key, kDefaultBitmapKey);
    EXPECT_STREQ(FindStatusBitmapRecord(main_body, 0xFFFFFF02u, false)->key, "4294967042");
    EXPECT_STREQ(FindStatusBitmapRecord(main_body, 461234, true)->key, kDefaultBitmapKey);  // one digit too many
    // The default record never matches a code, also not as a wildcard.
    EXPECT_STREQ(FindStatusBitmapRecord(main_body, 12345, true)->key, kDefaultBitmapKey);

    // A table without default gives null for a code it does not hold; an
    // empty table, or none, gives null.
    const BitmapLayer x[] = {Place("BM_X", 0, 0, 3)};
    const BitmapLayer a[] = {Place("BM_A", 0, 0, 1)};
    const BitmapLayer b[] = {Place("BM_B", 0, 0, 1)};
    const StatusBitmapRecord no_default[] = {{"40540", x}, kEndOfBitmapTable};
    EXPECT_EQ(FindStatusBitmapRecord(no_default, 40541, false), nullptr);
    EXPECT_EQ(FindStatusBitmapRecord(no_default, 40540, false), &no_default[0]);
    const StatusBitmapRecord empty[] = {kEndOfBitmapTable};
    EXPECT_EQ(FindStatusBitmapRecord(empty, 40540, false), nullptr);
    EXPECT_EQ(FindStatusBitmapRecord(nullptr, 40540, false), nullptr);
    // With two defaults, the last one serves.
    const StatusBitmapRecord two_defaults[] = {{kDefaultBitmapKey, a}, {kDefaultBitmapKey, b}, kEndOfBitmapTable};
    EXPECT_EQ(FindStatusBitmapRecord(two_defaults, 1, true), &two_defaults[1]);
}

TEST(PictureTables, KeyExistsInAnyTable) {
    EXPECT_TRUE(StatusKeyExists(40540));     // a finisher key only
    EXPECT_TRUE(StatusKeyExists(42015));     // the booklet processor's
    EXPECT_TRUE(StatusKeyExists(0xFFFFFF02u));
    EXPECT_FALSE(StatusKeyExists(46123));    // only a wildcard key covers it
    EXPECT_FALSE(StatusKeyExists(10001));
}

}  // namespace
