// A printer's MIB: bindings flattened and parsed back, hostile bindings
// (wrong types, out-of-range numbers, foreign devices, thousands of rows),
// and the conversion into the library's record through its
// printer-management path (tray state bits at each level mark, dimensions
// in both units, the status word, media bits learned from the library).
#include <gtest/gtest.h>

#include <limits>

#include "library/library_calls.h"
#include "mib/mib_binding.h"
#include "mib/mib_pminfo.h"

namespace tb58mon {
namespace {

MibInput Tray(uint32_t index, std::string name, int32_t level, int32_t capacity) {
    MibInput input;
    input.index = index;
    input.name = std::move(name);
    input.current_level = level;
    input.max_capacity = capacity;
    input.dim_unit = kDimMicrometers;
    input.feed_dim = 210000;
    input.xfeed_dim = 297000;
    input.media_name = "Plain";
    input.status = 0;
    return input;
}

PrinterMib SamplePrinter() {
    PrinterMib mib;
    mib.device_id = "MFG:Generic Imaging;MDL:MX 5000;CMD:PJL;STS:10001,1,Ready;";
    mib.sys_descr = "Generic Imaging MX 5000";
    mib.hr_descr = "MX 5000";
    mib.memory_kib = 524288;
    mib.hr_device_status = 2;
    mib.hr_printer_status = 3;
    mib.serial_number = "E123456789";
    mib.life_count = 48213;
    mib.inputs = {Tray(1, "Tray 1", 400, 500), Tray(2, "Tray 2", 0, 500), Tray(3, "Bypass Tray", -3, 100)};
    mib.outputs = {MibOutput{1, "Copy Tray", 0, 250, 250}, MibOutput{2, "Finisher Shift Tray", 0, 500, 0}};
    MibSupply black;
    black.index = 1;
    black.description = "Black Toner";
    black.colorant_index = 1;
    black.supply_class = kSupplyClassConsumed;
    black.type = 3;
    black.unit = 19;
    black.max_capacity = 100;
    black.level = 8;
    mib.supplies = {black};
    mib.colorants = {MibColorant{1, "black"}};
    mib.printer_mib = true;
    return mib;
}

ObjectId Cell(const ObjectId& entry, uint32_t column, uint32_t device, uint32_t index) {
    ObjectId oid = entry;
    oid.insert(oid.end(), {column, device, index});
    return oid;
}

TEST(PrinterMibBindings, FlattenedInWalkOrderAndParsedBack) {
    const PrinterMib mib = SamplePrinter();
    const std::vector<MibBinding> bindings = FlattenPrinterMib(mib);
    for (size_t i = 1; i < bindings.size(); ++i) {
        EXPECT_TRUE(OidLess(bindings[i - 1].oid, bindings[i].oid)) << OidText(bindings[i].oid);
    }
    const PrinterMib back = ParsePrinterMib(bindings);
    EXPECT_EQ(back.device_id, mib.device_id);
    EXPECT_EQ(back.sys_descr, mib.sys_descr);
    EXPECT_EQ(back.memory_kib, mib.memory_kib);
    EXPECT_EQ(back.serial_number, mib.serial_number);
    EXPECT_EQ(back.life_count, mib.life_count);
    ASSERT_EQ(back.inputs.size(), 3u);
    EXPECT_EQ(back.inputs[2].name, "Bypass Tray");
    EXPECT_EQ(back.inputs[2].current_level, -3);
    EXPECT_EQ(back.inputs[0].feed_dim, 210000);
    ASSERT_EQ(back.outputs.size(), 2u);
    EXPECT_EQ(back.outputs[1].remaining, 0);
    ASSERT_EQ(back.supplies.size(), 1u);
    EXPECT_EQ(back.supplies[0].description, "Black Toner");
    EXPECT_EQ(back.supplies[0].level, 8);
    ASSERT_EQ(back.colorants.size(), 1u);
    EXPECT_EQ(back.colorants[0].value, "black");
    EXPECT_TRUE(back.printer_mib);
}

TEST(PrinterMibBindings, OidOrderIsNumericComponentByComponent) {
    EXPECT_TRUE(OidLess({1, 3, 6, 1, 2}, {1, 3, 6, 1, 10}));  // not as text ("10" < "2")
    EXPECT_TRUE(OidLess({1, 3, 6}, {1, 3, 6, 0}));           // a prefix first
    EXPECT_FALSE(OidLess({1, 3, 6}, {1, 3, 6}));
    EXPECT_TRUE(OidStartsWith({1, 3, 6, 1}, {1, 3, 6}));
    EXPECT_FALSE(OidStartsWith({1, 3}, {1, 3, 6}));
    EXPECT_EQ(OidText({1, 3, 4294967295u}), "1.3.4294967295");
}

TEST(PrinterMibBindings, HostileBindingsAreSkipped) {
    const ObjectId& input = mib_oid::kPrtInputEntry;
    std::vector<MibBinding> bindings;
    MibBinding text_level;  // a text where a number belongs
    text_level.oid = Cell(input, 10, 1, 1);
    text_level.type = MibType::kOctets;
    text_level.text = "400";
    bindings.push_back(text_level);
    bindings.push_back(NumberBinding(Cell(input, 9, 1, 1), int64_t{1} << 31));     // past Integer32
    bindings.push_back(NumberBinding(Cell(input, 11, 1, 1), std::numeric_limits<int32_t>::min()));  // at its end
    bindings.push_back(NumberBinding(Cell(input, 13, 1, 1), 5));                   // a number where a name belongs
    bindings.push_back(NumberBinding(Cell(input, 10, 2, 1), 7));                   // another device
    bindings.push_back(NumberBinding(Cell(input, 10, 1, 0), 7));                   // index 0
    ObjectId too_long = Cell(input, 10, 1, 1);
    too_long.push_back(9);
    bindings.push_back(NumberBinding(too_long, 7));
    bindings.push_back(NumberBinding(mib_oid::kPrtMarkerLifeCount, 12, MibType::kInteger));  // a counter as INTEGER
    bindings.push_back(NumberBinding(mib_oid::kHrMemorySize, -1));
    const PrinterMib mib = ParsePrinterMib(bindings);
    ASSERT_EQ(mib.inputs.size(), 1u);
    EXPECT_FALSE(mib.inputs[0].current_level);
    EXPECT_FALSE(mib.inputs[0].max_capacity);
    EXPECT_EQ(mib.inputs[0].status, std::numeric_limits<int32_t>::min());
    EXPECT_TRUE(mib.inputs[0].name.empty());
    EXPECT_FALSE(mib.life_count);
    EXPECT_FALSE(mib.memory_kib);
}

TEST(PrinterMibBindings, ThousandsOfRowsAreCutAtTheBound) {
    std::vector<MibBinding> bindings;
    for (uint32_t row = 1; row <= 10000; ++row) {
        bindings.push_back(NumberBinding(Cell(mib_oid::kPrtMarkerSuppliesEntry, 9, 1, row), 50));
    }
    EXPECT_EQ(ParsePrinterMib(bindings).supplies.size(), kMaxMibRows);
}

TEST(PrinterMibConversion, TrayStateAtEachLevelMark) {
    const auto state = [](int32_t level, int32_t capacity) { return TrayStateOf(Tray(1, "Tray 1", level, capacity)); };
    EXPECT_EQ(state(0, 500), kTrayStateEmpty);
    EXPECT_EQ(state(1, 500), kTrayStateAt10);
    EXPECT_EQ(state(50, 500), kTrayStateAt10);
    EXPECT_EQ(state(51, 500), kTrayStateAt25);
    EXPECT_EQ(state(125, 500), kTrayStateAt25);
    EXPECT_EQ(state(126, 500), kTrayStateAt50);
    EXPECT_EQ(state(250, 500), kTrayStateAt50);
    EXPECT_EQ(state(251, 500), kTrayStateAt75);
    EXPECT_EQ(state(375, 500), kTrayStateAt75);
    EXPECT_EQ(state(376, 500), 0u);
    EXPECT_EQ(state(900, 500), 0u);        // more than it holds: full
    EXPECT_EQ(state(kMibSomeRemaining, 500), 0u);
    EXPECT_EQ(state(kMibUnknown, 500), 0u);
    EXPECT_EQ(state(100, kMibUnknown), 0u);
    EXPECT_EQ(state(100, 0), 0u);          // no capacity: no ratio
    MibInput no_media = Tray(1, "Tray 1", kMibUnknown, 500);
    no_media.status = 16 | 3;              // critical alert, unavailable
    EXPECT_EQ(TrayStateOf(no_media), kTrayStateEmpty);
    no_media.status = 16 | 4;              // critical alert, but available and active
    EXPECT_EQ(TrayStateOf(no_media), 0u);
}

TEST(PrinterMibConversion, LevelRatioOnlyFromRealNumbers) {
    EXPECT_DOUBLE_EQ(*InputLevelRatio(Tray(1, "", 400, 500)), 0.8);
    EXPECT_DOUBLE_EQ(*InputLevelRatio(Tray(1, "", 501, 500)), 1.0);
    EXPECT_FALSE(InputLevelRatio(Tray(1, "", -1, 500)));
    EXPECT_FALSE(InputLevelRatio(Tray(1, "", 10, -2)));
    EXPECT_FALSE(InputLevelRatio(Tray(1, "", 10, 0)));
}

TEST(PrinterMibConversion, DimensionsInBothUnits) {
    MibInput tray = Tray(1, "Tray 1", 1, 1);
    EXPECT_EQ(TrayDimensionsMm(tray), std::make_pair(210u, 297u));
    tray.dim_unit = kDimTenThousandthsOfInches;
    tray.feed_dim = 85000;   // 8.5 in
    tray.xfeed_dim = 110000; // 11 in
    EXPECT_EQ(TrayDimensionsMm(tray), std::make_pair(216u, 279u));
    tray.dim_unit = 2;       // no unit we know
    EXPECT_EQ(TrayDimensionsMm(tray).first, PMINFO_NOT_SUPPLIED);
    tray.dim_unit = kDimMicrometers;
    tray.feed_dim = kMibUnknown;
    tray.xfeed_dim = std::numeric_limits<int32_t>::max();  // 2 km: no size
    EXPECT_EQ(TrayDimensionsMm(tray), std::make_pair(PMINFO_NOT_SUPPLIED, PMINFO_NOT_SUPPLIED));
    tray.xfeed_dim = 10000000;  // 10 m, the longest taken
    EXPECT_EQ(TrayDimensionsMm(tray).second, 10000u);
}

TEST(PrinterMibConversion, StatusWordFromHostResources) {
    PrinterMib mib;
    EXPECT_EQ(StatusWordOf(mib), PMINFO_NOT_SUPPLIED);
    for (int32_t device = 1; device <= 5; ++device) {
        mib.hr_device_status = device;
        const bool online = device == 2 || device == 3 || device == 4;
        EXPECT_EQ(StatusWordOf(mib) & kStatusWordOnline, online ? kStatusWordOnline : 0u) << device;
    }
    mib.hr_device_status = 2;
    mib.hr_printer_status = 4;
    EXPECT_EQ(StatusWordOf(mib), kStatusWordOnline | kStatusWordPrinting);
    mib.hr_printer_status = 5;
    EXPECT_EQ(StatusWordOf(mib), kStatusWordOnline | kStatusWordWarmingUp);
    mib.hr_printer_status = 3;
    EXPECT_EQ(StatusWordOf(mib), kStatusWordOnline);
}

TEST(PrinterMibConversion, BinFullFromRemainingCapacityOrAlert) {
    EXPECT_EQ(BinStateOf(MibOutput{1, "Copy Tray", 0, 250, 0}), 1u);
    EXPECT_EQ(BinStateOf(MibOutput{1, "Copy Tray", 0, 250, 1}), 0u);
    EXPECT_EQ(BinStateOf(MibOutput{1, "Copy Tray", 0, 0, 0}), 0u);   // no capacity at all
    EXPECT_EQ(BinStateOf(MibOutput{1, "Copy Tray", 16, kMibUnknown, kMibUnknown}), 1u);
    EXPECT_EQ(BinStateOf(MibOutput{1, "Copy Tray", 8, kMibUnknown, kMibUnknown}), 0u);
}

TEST(PrinterMibConversion, MediaWordsMeetTheLibrarysBits) {
    EXPECT_EQ(MediaBitOf("PLAIN"), 0x1u);
    EXPECT_EQ(MediaBitOf("plain"), 0x1u);
    EXPECT_EQ(MediaBitOf("Recycled"), 0x2u);
    EXPECT_EQ(MediaBitOf("tab-stock"), MediaBitOf("TABSTOCK"));
    EXPECT_NE(MediaBitOf("TABSTOCK"), PMINFO_NOT_SUPPLIED);
    EXPECT_EQ(MediaBitOf("Glossy Unicorn"), PMINFO_NOT_SUPPLIED);
    EXPECT_EQ(MediaBitOf(""), PMINFO_NOT_SUPPLIED);
}

TEST(PrinterMibConversion, RecordFromTheSamplePrinter) {
    OwnedRecord record;
    StoreMibInRecord(record.get(), SamplePrinter());
    std::vector<const TrayInfoNode*> trays;
    for (const TrayInfoNode* node = record->pTrayInfo; node != nullptr; node = static_cast<const TrayInfoNode*>(node->next)) {
        trays.push_back(node);
    }
    ASSERT_EQ(trays.size(), 3u);
    EXPECT_EQ(trays[0]->wTrayCode, TB58_TRAY_1);
    EXPECT_EQ(trays[0]->wPaperSize, 8);     // A4, long edge first
    EXPECT_EQ(trays[0]->wPaperLevel, 100);  // 80 %: above the 75 % mark
    EXPECT_EQ(trays[0]->wMediaCode, 1);     // plain
    EXPECT_EQ(trays[1]->wTrayCode, TB58_TRAY_2);
    EXPECT_EQ(trays[1]->wPaperLevel, 0);
    EXPECT_EQ(trays[2]->wTrayCode, TB58_TRAY_BYPASS);
    std::vector<const OutBinInfoNode*> bins;
    for (const OutBinInfoNode* node = record->pOutBinInfo; node != nullptr; node = static_cast<const OutBinInfoNode*>(node->next)) {
        bins.push_back(node);
    }
    ASSERT_EQ(bins.size(), 2u);
    EXPECT_EQ(bins[0]->wBinCode, TB58_BIN_COPY_TRAY);
    EXPECT_EQ(bins[0]->wState, TB58_BIN_STATE_READY);
    EXPECT_EQ(bins[1]->wBinCode, TB58_BIN_FINISHER_SHIFT);
    EXPECT_EQ(bins[1]->wState, TB58_BIN_STATE_FULL);
    EXPECT_EQ(record->dwMemorySize, 524288u);
    // The device ID came last: its status codes and state stand.
    ASSERT_NE(record->pEngineStatus, nullptr);
    EXPECT_EQ(record->pEngineStatus->dwCode, 10001);
    EXPECT_EQ(record->bOnline, 1);
    EXPECT_STREQ(record->pModelName, "MX 5000");
}

TEST(PrinterMibConversion, StatusWordStandsWithoutDeviceId) {
    PrinterMib mib = SamplePrinter();
    mib.device_id.clear();
    mib.hr_printer_status = 5;  // warming up
    OwnedRecord record;
    StoreMibInRecord(record.get(), mib);
    ASSERT_NE(record->pEngineStatus, nullptr);
    EXPECT_EQ(record->pEngineStatus->dwCode, 10003);
    EXPECT_EQ(record->bOnline, 1);
}

TEST(PrinterMibConversion, MemoryOf4GiBOrMoreIsNotSaid) {
    PrinterMib mib = SamplePrinter();
    mib.memory_kib = (int64_t{1} << 22) - 1;
    OwnedRecord small;
    StoreMibInRecord(small.get(), mib);
    EXPECT_EQ(small->dwMemorySize, (1u << 22) - 1);
    mib.memory_kib = int64_t{1} << 22;
    OwnedRecord large;
    StoreMibInRecord(large.get(), mib);
    EXPECT_EQ(large->dwMemorySize, 0u);
}

}  // namespace
}  // namespace tb58mon
