// The simulated printer's MIB from its scenario: trays, bins, supplies and
// status as the SNMP agent serves them, and the SNMP fault switches.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "base/cli_error.h"
#include "base/reply_words.h"
#include "sim/agent_bindings.h"
#include "sim/scenario_library.h"
#include "sim/scenario_mib.h"
#include "sim/simulated_printer.h"

namespace tb58mon {
namespace {

Scenario WithTrays(const std::string& lines) {
    return ParseScenario("t", "maker: Generic Imaging\nmodel: MX 5000\n" + lines);
}

const MibBinding* Find(const std::vector<MibBinding>& bindings, const ObjectId& oid) {
    const auto found =
        std::find_if(bindings.begin(), bindings.end(), [&](const MibBinding& b) { return b.oid == oid; });
    return found == bindings.end() ? nullptr : &*found;
}

// The binding of oid; a test failure (and an empty binding) when there is none.
const MibBinding& Get(const std::vector<MibBinding>& bindings, const ObjectId& oid) {
    static const MibBinding kMissing;
    const MibBinding* found = Find(bindings, oid);
    if (found == nullptr) ADD_FAILURE() << "no binding " << OidText(oid);
    return found != nullptr ? *found : kMissing;
}

ObjectId Cell(const ObjectId& entry, uint32_t column, uint32_t index) {
    ObjectId oid = entry;
    oid.insert(oid.end(), {column, 1, index});
    return oid;
}

TEST(ScenarioMib, EveryTrayIsNamedAsTheLibraryNamesIt) {
    const Scenario s = WithTrays(
        "tray: TRAY1\ntray: TRAY2\ntray: TRAY3\ntray: TRAY4\ntray: BYPASS\ntray: LCT\ntray: INSERTER\n");
    const PrinterMib mib = ScenarioMib(s);
    ASSERT_EQ(mib.inputs.size(), 7u);
    const char* names[] = {"Tray 1", "Tray 2", "Tray 3", "Tray 4", "Bypass Tray", "LCT", "Interposer Tray"};
    const int32_t capacities[] = {500, 500, 500, 500, 100, 1500, 200};
    for (size_t i = 0; i < 7; ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(mib.inputs[i].index, i + 1);
        EXPECT_EQ(mib.inputs[i].name, names[i]);
        EXPECT_EQ(mib.inputs[i].max_capacity, capacities[i]);
        EXPECT_EQ(mib.inputs[i].dim_unit, kDimMicrometers);
    }
    // The bypass tray and the interposer report no paper quantity over PJL.
    EXPECT_EQ(mib.inputs[4].current_level, kMibSomeRemaining);
    EXPECT_EQ(mib.inputs[6].current_level, kMibSomeRemaining);
    EXPECT_EQ(mib.inputs[6].media_name, "");  // nor media
    EXPECT_EQ(mib.inputs[5].current_level, 1500);
}

TEST(ScenarioMib, QuantityWordsGiveLevelsAndAnEmptyTrayAnAlert) {
    const std::map<std::string, int32_t> levels = {{"FULL", 500}, {"4/5", 400}, {"3/5", 300},
                                                   {"2/5", 200},  {"1/5", 100}, {"END", 0}};
    for (const auto& [word, level] : levels) {
        SCOPED_TRACE(word);
        const PrinterMib mib = ScenarioMib(WithTrays("tray: TRAY2 quantity=" + word + " media=RECYCLED\n"));
        ASSERT_EQ(mib.inputs.size(), 1u);
        EXPECT_EQ(mib.inputs[0].current_level, level);
        EXPECT_EQ(mib.inputs[0].media_name, "RECYCLED");
        const int32_t status = word == "END" ? kSubUnitUnavailableOnRequest | kSubUnitCriticalAlert : 0;
        EXPECT_EQ(mib.inputs[0].status, status);
        EXPECT_EQ(HasPrinterError(mib.detected_error_state, PrinterError::kInputTrayEmpty), word == "END");
    }
}

// The paper dimension rows (millimetres) of the library's table for the
// codes of the paper size words, written out again here.
TEST(ScenarioMib, PaperSizesAreTheLibrarysDimensionsInMicrometres) {
    const std::map<uint32_t, std::pair<int32_t, int32_t>> rows = {
        {5, {420, 297}},  {9, {297, 210}},  {8, {210, 297}},  {13, {210, 148}}, {12, {148, 210}}, {17, {148, 105}},
        {7, {364, 257}},  {11, {257, 182}}, {10, {182, 257}}, {15, {182, 128}}, {34, {148, 100}}, {58, {431, 279}},
        {21, {355, 215}}, {23, {279, 215}}, {22, {215, 279}}, {27, {215, 139}}, {26, {139, 215}}, {25, {266, 184}},
        {24, {184, 266}}, {60, {330, 203}}, {62, {330, 215}}, {28, {330, 209}}, {69, {457, 304}},
    };
    for (const WordCode& size : PaperSizeTable()) {
        SCOPED_TRACE(std::string(size.word));
        const PrinterMib mib = ScenarioMib(WithTrays("tray: TRAY1 size=" + std::string(size.word) + "\n"));
        const MibInput& input = mib.inputs.at(0);
        if (size.word == "CUSTOM") {
            EXPECT_EQ(input.feed_dim, kMibUnknown);
            EXPECT_EQ(input.xfeed_dim, kMibUnknown);
            continue;
        }
        const auto row = rows.find(size.code);
        ASSERT_NE(row, rows.end());
        EXPECT_EQ(input.feed_dim, row->second.first * 1000);
        EXPECT_EQ(input.xfeed_dim, row->second.second * 1000);
    }
}

TEST(ScenarioMib, BinsAreNamedAsTheLibraryNamesThemAndAFullBinHasNoRoom) {
    const PrinterMib plain = ScenarioMib(WithTrays(
        "bin: UPPER READY\nbin: OPTIONALOUTPUTBIN1 PAPEREXIST\nbin: OPTIONALOUTPUTBIN9 FULL\n"
        "bin: FINISHERPROOF READY\nbin: FINISHERSHIFT FULL\nbin: FINISHERBOOKLET READY\n"));
    ASSERT_EQ(plain.outputs.size(), 6u);
    const char* names[] = {"Copy Tray", "Mailbox Tray 1", "Mailbox Tray 9", "Finisher Upper Tray",
                           "Finisher Shift Tray", "Finisher Booklet Tray"};
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(plain.outputs[i].name, names[i]);
    EXPECT_EQ(plain.outputs[0].remaining, plain.outputs[0].max_capacity);
    EXPECT_EQ(plain.outputs[0].status, kSubUnitAvailableIdle);
    EXPECT_GT(plain.outputs[1].remaining, 0);
    EXPECT_LT(plain.outputs[1].remaining, plain.outputs[1].max_capacity);
    for (size_t full : {2u, 4u}) {
        EXPECT_EQ(plain.outputs[full].remaining, 0);
        EXPECT_GT(*plain.outputs[full].max_capacity, 0);
        EXPECT_EQ(plain.outputs[full].status, kSubUnitUnavailableOnRequest | kSubUnitCriticalAlert);
    }
    // With the finisher with two shift trays the shift trays are numbered.
    const PrinterMib two = ScenarioMib(
        WithTrays("option: OUTTRAYBOOKLET\nbin: FINISHERSHIFT READY\nbin: FINISHERBOOKLET READY\n"));
    EXPECT_EQ(two.outputs.at(0).name, "Finisher Shift Tray 1");
    EXPECT_EQ(two.outputs.at(1).name, "Finisher Shift Tray 2");
}

TEST(ScenarioMib, StatusFollowsTheStatusCodes) {
    struct Case {
        const char* scenario;
        HrDeviceStatus device;
        int32_t printer;
        std::vector<PrinterError> errors;
    };
    const Case cases[] = {
        {"all-well", HrDeviceStatus::kRunning, 3, {}},
        {"toner-low", HrDeviceStatus::kWarning, 3, {PrinterError::kLowToner}},
        {"waste-nearly-full", HrDeviceStatus::kWarning, 3, {}},
        {"tray-empty", HrDeviceStatus::kDown, 1, {PrinterError::kNoPaper, PrinterError::kInputTrayEmpty}},
        {"jam-tray2-lct", HrDeviceStatus::kDown, 1, {PrinterError::kJammed, PrinterError::kOffline}},
        {"finisher-full", HrDeviceStatus::kDown, 1, {PrinterError::kOutputFull, PrinterError::kOffline}},
        {"service-call", HrDeviceStatus::kDown, 1, {PrinterError::kServiceRequested, PrinterError::kOffline}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scenario);
        const PrinterMib mib = ScenarioMib(LoadScenario(c.scenario));
        EXPECT_EQ(mib.hr_device_status, static_cast<int32_t>(c.device));
        EXPECT_EQ(mib.hr_printer_status, c.printer);
        ASSERT_EQ(mib.detected_error_state.size(), 2u);
        for (int bit = 0; bit <= static_cast<int>(PrinterError::kOverduePreventMaint); ++bit) {
            const auto error = static_cast<PrinterError>(bit);
            const bool wanted = std::find(c.errors.begin(), c.errors.end(), error) != c.errors.end();
            EXPECT_EQ(HasPrinterError(mib.detected_error_state, error), wanted) << "bit " << bit;
        }
    }
    EXPECT_EQ(ScenarioMib(WithTrays("status: 10003\n")).hr_printer_status, 5);
    EXPECT_EQ(ScenarioMib(WithTrays("status: 10023\n")).hr_printer_status, 4);
    EXPECT_EQ(ScenarioMib(WithTrays("status: 40342\n")).hr_device_status, 3);  // the printer goes on
    // Bit 0 is the high bit of the first octet, bit 8 that of the second.
    EXPECT_EQ(ScenarioMib(WithTrays("status: 40012\n")).detected_error_state, std::string("\x10\x00", 2));
    EXPECT_EQ(ScenarioMib(WithTrays("status: 41300\n")).detected_error_state, std::string("\x00\x80", 2));
}

TEST(ScenarioMib, TheDefaultSuppliesAgreeWithTheStatusCodes) {
    const auto levels = [](const PrinterMib& mib) {
        std::map<std::string, int32_t> out;
        for (const MibSupply& s : mib.supplies) out[s.description] = *s.level;
        return out;
    };
    const PrinterMib well = ScenarioMib(LoadScenario("all-well"));
    ASSERT_EQ(well.supplies.size(), 6u);
    EXPECT_EQ(well.supplies[0].description, "Black Toner");
    EXPECT_EQ(well.supplies[0].colorant_index, 1);
    EXPECT_EQ(well.supplies[0].type, kSupplyTypeToner);
    EXPECT_EQ(well.supplies[4].type, kSupplyTypeOpc);
    EXPECT_EQ(well.supplies[5].type, kSupplyTypeWasteToner);
    EXPECT_EQ(well.supplies[5].supply_class, kSupplyClassReceptacle);
    EXPECT_EQ(well.supplies[5].colorant_index, 0);
    for (const auto& [name, level] : levels(well)) EXPECT_GT(level, 10) << name;
    ASSERT_EQ(well.colorants.size(), 4u);
    EXPECT_EQ(well.colorants[3].value, "yellow");

    // Each low-toner code 10072-10075 lowers its own colour only.
    const char* colours[] = {"Black Toner", "Cyan Toner", "Magenta Toner", "Yellow Toner"};
    for (int n = 0; n < 4; ++n) {
        const auto low = levels(ScenarioMib(WithTrays("status: " + std::to_string(10072 + n) + "\n")));
        const auto out = levels(ScenarioMib(WithTrays("status: " + std::to_string(40012 + n) + "\n")));
        for (int m = 0; m < 4; ++m) {
            EXPECT_EQ(low.at(colours[m]) <= 10, m == n) << colours[m];
            EXPECT_EQ(out.at(colours[m]) == 0, m == n) << colours[m];
        }
    }
    // The device ID's supply values are the toner levels.
    const auto maximal = levels(ScenarioMib(LoadScenario("maximal")));
    EXPECT_EQ(maximal.at("Black Toner"), 80);
    EXPECT_EQ(maximal.at("Yellow Toner"), 20);
    EXPECT_EQ(levels(ScenarioMib(WithTrays("status: 10032\n"))).at("Waste Toner Box"), 5);
    EXPECT_EQ(levels(ScenarioMib(WithTrays("status: 40011\n"))).at("Waste Toner Box"), 0);
}

TEST(ScenarioMib, BuiltInScenariosWithSupplyLinesKeepTheirStatusCodesTrue) {
    const PrinterMib toner = ScenarioMib(LoadScenario("toner-low"));
    for (const MibSupply& s : toner.supplies) {
        const bool low = s.description == "Cyan Toner" || s.description == "Magenta Toner";
        if (s.type == kSupplyTypeToner) {
            EXPECT_EQ(*s.level <= 10, low) << s.description;
        }
    }
    const PrinterMib waste = ScenarioMib(LoadScenario("waste-nearly-full"));
    const auto box = std::find_if(waste.supplies.begin(), waste.supplies.end(),
                                  [](const MibSupply& s) { return s.type == kSupplyTypeWasteToner; });
    ASSERT_NE(box, waste.supplies.end());
    EXPECT_EQ(box->level, 5);
    EXPECT_EQ(waste.serial_number, "E305M200417");
    EXPECT_EQ(waste.supplies.size(), 7u);
}

TEST(ScenarioMib, MachineObjectsComeFromTheScenario) {
    const Scenario s = LoadScenario("all-well");
    const PrinterMib mib = ScenarioMib(s);
    EXPECT_EQ(mib.sys_descr, "Generic Imaging MX 5000 1.07");
    EXPECT_EQ(mib.hr_descr, "Generic Imaging MX 5000");
    EXPECT_EQ(mib.memory_kib, 512 * 1024);
    EXPECT_EQ(mib.life_count, 48213);
    EXPECT_EQ(mib.device_id, SimulatedPrinter(s).DeviceId());
    EXPECT_EQ(mib.serial_number.size(), 10u);
    EXPECT_EQ(mib.serial_number, ScenarioMib(s).serial_number);
    EXPECT_NE(mib.serial_number, ScenarioMib(LoadScenario("toner-low")).serial_number);
    EXPECT_FALSE(ScenarioMib(WithTrays("")).memory_kib.has_value());
    Scenario two_lines = s;
    two_lines.display = "Ready\r\nforged";
    EXPECT_NE(ScenarioMib(two_lines).device_id.find(",Ready  forged;"), std::string::npos);
}

TEST(ScenarioMib, SupplyLinesAreCheckedAtTheirBounds) {
    const Scenario s = WithTrays(
        "supply: toner cyan level=-3 capacity=2147483647\nsupply: staples level=0 capacity=-2\n"
        "supply: fuser\n");
    ASSERT_EQ(s.marker_supplies.size(), 3u);
    EXPECT_EQ(s.marker_supplies[0].level, -3);
    EXPECT_EQ(s.marker_supplies[0].capacity, 2147483647);
    EXPECT_EQ(s.marker_supplies[2].level, 100);
    const PrinterMib mib = ScenarioMib(s);
    EXPECT_EQ(mib.supplies[0].colorant_index, 2);
    EXPECT_EQ(mib.supplies[1].unit, kSupplyUnitItems);
    EXPECT_EQ(mib.supplies[2].type, kSupplyTypeFuser);
    for (const char* bad : {"supply: toner\n", "supply: toner white\n", "supply: ink\n", "supply: drum level=-4\n",
                            "supply: drum level=2147483648\n", "supply: drum capacity=-3\n", "supply: drum level=5%\n",
                            "supply: drum colour=black\n", "supply:\n", "serial: two words\n"}) {
        EXPECT_THROW(WithTrays(bad), CliError) << bad;
    }
}

TEST(AgentBindings, RowsSwitchFillsBothTables) {
    FaultSwitches faults;
    faults.snmp_rows = 10000;
    const std::vector<MibBinding> bindings = AgentBindings(LoadScenario("all-well"), faults);
    EXPECT_NE(Find(bindings, Cell(mib_oid::kPrtInputEntry, 13, 10000)), nullptr);
    EXPECT_EQ(Find(bindings, Cell(mib_oid::kPrtInputEntry, 13, 10001)), nullptr);
    EXPECT_NE(Find(bindings, Cell(mib_oid::kPrtMarkerSuppliesEntry, 6, 10000)), nullptr);
    // The scenario's own rows come first.
    EXPECT_EQ(Get(bindings, Cell(mib_oid::kPrtInputEntry, 13, 1)).text, "Tray 1");
    EXPECT_TRUE(std::is_sorted(bindings.begin(), bindings.end(),
                               [](const MibBinding& a, const MibBinding& b) { return OidLess(a.oid, b.oid); }));
}

TEST(AgentBindings, ExtremeAndWrongTypeSwitches) {
    const Scenario s = LoadScenario("all-well");
    FaultSwitches faults;
    faults.snmp_extreme = true;
    const std::vector<MibBinding> extreme = AgentBindings(s, faults);
    EXPECT_EQ(Get(extreme, Cell(mib_oid::kPrtMarkerSuppliesEntry, 9, 1)).number, -5);
    EXPECT_EQ(Get(extreme, Cell(mib_oid::kPrtMarkerSuppliesEntry, 8, 6)).number, 2147483647);
    const MibBinding& level = Get(extreme, Cell(mib_oid::kPrtInputEntry, 10, 1));
    EXPECT_EQ(level.type, MibType::kGauge);
    EXPECT_EQ(level.number, 4294967295);
    EXPECT_EQ(Get(extreme, mib_oid::kPrtMarkerLifeCount).type, MibType::kCounter);
    EXPECT_EQ(Get(extreme, Cell(mib_oid::kPrtOutputEntry, 5, 1)).number, -2147483648LL);

    faults = {};
    faults.snmp_wrong_types = true;
    const std::vector<MibBinding> wrong = AgentBindings(s, faults);
    const MibBinding& count = Get(wrong, mib_oid::kPrtMarkerLifeCount);
    EXPECT_EQ(count.type, MibType::kOctets);
    EXPECT_EQ(count.text, "48213");
    const MibBinding& name = Get(wrong, Cell(mib_oid::kPrtInputEntry, 13, 1));
    EXPECT_EQ(name.type, MibType::kInteger);
    EXPECT_EQ(name.number, 6);  // "Tray 1"
    EXPECT_EQ(Get(wrong, mib_oid::kHrDeviceType).type, MibType::kObjectId);
    // Read back, the swapped objects are missing, not misread.
    const PrinterMib read = ParsePrinterMib(wrong);
    EXPECT_FALSE(read.life_count.has_value());
    EXPECT_TRUE(read.sys_descr.empty());
}

}  // namespace
}  // namespace tb58mon
