#include "sim/scenario_mib.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

#include "base/engine_code_classes.h"
#include "base/reply_words.h"
#include "sim/simulated_printer.h"

namespace tb58mon {
namespace {

// Paper size words and their dimensions in millimetres, feed direction
// first: the rows of the library's paper dimension table for the word's
// paper size code (A4LONG, long edge first: 210 along the feed, 297 across).
struct PaperDimensions {
    std::string_view word;
    int32_t feed_mm;
    int32_t xfeed_mm;
};
constexpr PaperDimensions kPaperDimensions[] = {
    {"A3", 420, 297},         {"A4SRT", 297, 210},      {"A4LONG", 210, 297},     {"A5SRT", 210, 148},
    {"A5LONG", 148, 210},     {"A6", 148, 105},         {"JISB4", 364, 257},      {"JISB5SRT", 257, 182},
    {"JISB5LONG", 182, 257},  {"JISB6", 182, 128},      {"JPOST", 148, 100},      {"LEDGER", 431, 279},
    {"LEGAL", 355, 215},      {"LETTERSRT", 279, 215},  {"LETTERLONG", 215, 279}, {"HALFLETTERS", 215, 139},
    {"HALFLETTERL", 139, 215}, {"EXECUTIVES", 266, 184}, {"EXECUTIVEL", 184, 266}, {"FGL", 330, 203},
    {"FOOLSCAP", 330, 215},   {"FOLIO", 330, 209},      {"A3WIDE", 457, 304},
};

constexpr int32_t kMicrometresPerMillimetre = 1000;

struct TrayCapacity {
    std::string_view name;
    int32_t sheets;
};
constexpr TrayCapacity kTrayCapacities[] = {
    {"TRAY1", 500}, {"TRAY2", 500}, {"TRAY3", 500}, {"TRAY4", 500},
    {"LCT", 1500},  {"BYPASS", 100}, {"INSERTER", 200},
};

int32_t TrayCapacityOf(std::string_view name) {
    for (const TrayCapacity& row : kTrayCapacities) {
        if (row.name == name) return row.sheets;
    }
    return 500;
}

MibInput InputOf(const ScenarioTray& tray, uint32_t index) {
    const TrayWords* words = FindTrayByName(tray.name);
    MibInput input;
    input.index = index;
    input.name = words != nullptr ? std::string(words->english_name) : tray.name;
    const bool reports_media = words == nullptr || !words->media_variable.empty();
    if (reports_media) input.media_name = tray.media;
    input.dim_unit = kDimMicrometers;
    input.feed_dim = kMibUnknown;
    input.xfeed_dim = kMibUnknown;
    for (const PaperDimensions& row : kPaperDimensions) {
        if (row.word == tray.size) {
            input.feed_dim = row.feed_mm * kMicrometresPerMillimetre;
            input.xfeed_dim = row.xfeed_mm * kMicrometresPerMillimetre;
        }
    }
    const int32_t capacity = TrayCapacityOf(tray.name);
    input.max_capacity = capacity;
    const WordCode* percent = FindWord(PaperQuantityTable(), tray.quantity);
    const bool reports_level = words == nullptr || !words->level_variable.empty();
    if (!reports_level) {
        input.current_level = kMibSomeRemaining;
    } else {
        input.current_level = percent == nullptr ? kMibUnknown : capacity * static_cast<int32_t>(percent->code) / 100;
    }
    const bool empty = reports_level && percent != nullptr && percent->code == 0;
    input.status = empty ? kSubUnitUnavailableOnRequest | kSubUnitCriticalAlert : kSubUnitAvailableIdle;
    return input;
}

int32_t BinCapacityOf(std::string_view entry, bool two_shift_trays) {
    if (entry.starts_with("OPTIONALOUTPUTBIN")) return 100;
    if (entry == "FINISHERSHIFT") return 1500;
    if (entry == "FINISHERBOOKLET") return two_shift_trays ? 1500 : 30;
    return 250;  // UPPER, FINISHERPROOF
}

MibOutput OutputOf(const ScenarioBin& bin, uint32_t index, bool two_shift_trays) {
    const BinWords* words = FindBinByEntry(bin.entry);
    MibOutput output;
    output.index = index;
    if (words == nullptr) {
        output.name = bin.entry;
    } else {
        const bool renamed = two_shift_trays && !words->english_name_two_shift_trays.empty();
        output.name = std::string(renamed ? words->english_name_two_shift_trays : words->english_name);
    }
    const int32_t capacity = BinCapacityOf(bin.entry, two_shift_trays);
    output.max_capacity = capacity;
    if (bin.state == "FULL") {
        output.remaining = 0;
        output.status = kSubUnitUnavailableOnRequest | kSubUnitCriticalAlert;
    } else {
        output.remaining = bin.state == "PAPEREXIST" ? capacity / 2 : capacity;
        output.status = kSubUnitAvailableIdle;
    }
    return output;
}

bool Has(const Scenario& s, int32_t code) {
    return std::find(s.status_codes.begin(), s.status_codes.end(), code) != s.status_codes.end();
}

bool HasIn(const Scenario& s, int32_t first, int32_t last) {
    return std::any_of(s.status_codes.begin(), s.status_codes.end(),
                       [&](int32_t c) { return c >= first && c <= last; });
}

bool HasClass(const Scenario& s, EngineCodeClass wanted) {
    return std::any_of(s.status_codes.begin(), s.status_codes.end(), [&](int32_t c) { return IsOfClass(c, wanted); });
}

constexpr std::array<std::string_view, 4> kTonerColours = {"black", "cyan", "magenta", "yellow"};

// The toner levels the device ID's supply values give (black, cyan,
// magenta, yellow), where they are percentages.
std::array<int32_t, 4> TonerLevelsOf(const Scenario& s) {
    std::array<int32_t, 4> levels = {80, 70, 75, 65};
    std::string_view rest = s.supplies;
    for (int32_t& level : levels) {
        if (rest.empty()) break;
        const size_t comma = rest.find(',');
        const std::string_view item = rest.substr(0, comma);
        int32_t value = 0;
        const auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), value);
        if (error == std::errc() && end == item.data() + item.size() && value >= 0 && value <= 100) level = value;
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    return levels;
}

// Four toners, a drum and a waste toner box, at the levels the status
// codes call for: 10072-10075 low toner (black, cyan, magenta, yellow),
// 40012-40015 and 30013-30015 no toner, 10032 waste toner box nearly full,
// 40011 full.
std::vector<ScenarioSupply> DefaultSupplies(const Scenario& s) {
    std::vector<ScenarioSupply> supplies;
    const std::array<int32_t, 4> levels = TonerLevelsOf(s);
    for (size_t i = 0; i < kTonerColours.size(); ++i) {
        const int32_t n = static_cast<int32_t>(i);
        int32_t level = levels[i];
        if (Has(s, 10072 + n)) level = std::min(level, 5);
        if (Has(s, 40012 + n) || (i > 0 && Has(s, 30012 + n))) level = 0;
        supplies.push_back({"toner", std::string(kTonerColours[i]), level, 100});
    }
    supplies.push_back({"drum", "", 60, 100});
    const int32_t room = Has(s, 40011) ? 0 : Has(s, 10032) ? 5 : 80;
    supplies.push_back({"waste-toner", "", room, 100});
    return supplies;
}

struct SupplyKind {
    std::string_view kind;
    std::string_view description;
    int32_t type;
};
constexpr SupplyKind kSupplyKinds[] = {
    {"toner", "Toner", kSupplyTypeToner},           {"drum", "Drum Unit", kSupplyTypeOpc},
    {"developer", "Developer Unit", kSupplyTypeDeveloper}, {"fuser", "Fuser Unit", kSupplyTypeFuser},
    {"transfer-unit", "Transfer Unit", kSupplyTypeTransferUnit},
    {"waste-toner", "Waste Toner Box", kSupplyTypeWasteToner}, {"staples", "Staples", kSupplyTypeStaples},
};

MibSupply SupplyOf(const ScenarioSupply& supply, uint32_t index) {
    MibSupply out;
    out.index = index;
    out.type = 1;  // other
    out.description = supply.kind;
    for (const SupplyKind& row : kSupplyKinds) {
        if (row.kind != supply.kind) continue;
        out.type = row.type;
        out.description = std::string(row.description);
    }
    const auto colour = std::find(kTonerColours.begin(), kTonerColours.end(), supply.colour);
    out.colorant_index = colour == kTonerColours.end() ? 0 : static_cast<int32_t>(colour - kTonerColours.begin()) + 1;
    if (colour != kTonerColours.end()) {
        std::string name(*colour);
        name[0] = static_cast<char>(name[0] - 'a' + 'A');
        out.description = name + " " + out.description;
    }
    out.supply_class = supply.kind == "waste-toner" ? kSupplyClassReceptacle : kSupplyClassConsumed;
    out.unit = supply.kind == "staples" ? kSupplyUnitItems : kSupplyUnitPercent;
    out.max_capacity = supply.capacity;
    out.level = supply.level;
    return out;
}

void SetError(std::string& state, PrinterError error) {
    const int bit = static_cast<int>(error);
    state[static_cast<size_t>(bit / 8)] = static_cast<char>(state[static_cast<size_t>(bit / 8)] | (0x80 >> (bit % 8)));
}

// hrPrinterDetectedErrorState from the status codes, the state number and
// the trays.
std::string ErrorStateOf(const Scenario& s) {
    std::string state(2, '\0');
    bool no_paper = false;
    for (int32_t code : s.status_codes) {
        if (code >= 41000 && code <= 41999 && code % 100 != 0) no_paper = true;
    }
    if (no_paper) SetError(state, PrinterError::kNoPaper);
    if (HasClass(s, EngineCodeClass::TONER_LOW)) SetError(state, PrinterError::kLowToner);
    if (HasClass(s, EngineCodeClass::NO_TONER) || HasClass(s, EngineCodeClass::TONER_RUN_OUT)) {
        SetError(state, PrinterError::kNoToner);
    }
    if (HasIn(s, 40200, 40299) || Has(s, 41000) || Has(s, 41900) || HasIn(s, 12001, 13500)) {
        SetError(state, PrinterError::kDoorOpen);
    }
    if (HasIn(s, 42000, 42999)) SetError(state, PrinterError::kJammed);
    if (s.state == 2) SetError(state, PrinterError::kOffline);
    if (Has(s, 40800)) SetError(state, PrinterError::kServiceRequested);
    if (Has(s, 41100) || Has(s, 41200) || Has(s, 41300) || Has(s, 41400) || Has(s, 41500)) {
        SetError(state, PrinterError::kInputTrayMissing);
    }
    if (HasIn(s, 40340, 40343) || HasIn(s, 40351, 40359) || Has(s, 40380)) SetError(state, PrinterError::kOutputFull);
    const bool tray_empty = std::any_of(s.trays.begin(), s.trays.end(), [](const ScenarioTray& t) {
        const TrayWords* words = FindTrayByName(t.name);
        return t.quantity == "END" && words != nullptr && !words->level_variable.empty();
    });
    if (tray_empty || HasIn(s, 30990, 30999)) SetError(state, PrinterError::kInputTrayEmpty);
    return state;
}

// Codes of the 4xxxx range the printer goes on working with.
bool Operational(int32_t code) { return code == 40342 || (code >= 40440 && code <= 40443); }

int32_t DeviceStatusOf(const Scenario& s) {
    bool warning = false;
    for (int32_t code : s.status_codes) {
        if (code >= 40000 && code <= 49999 && !Operational(code)) return static_cast<int32_t>(HrDeviceStatus::kDown);
        const bool low_toner = IsOfClass(code, EngineCodeClass::TONER_LOW);
        const bool cover_open = code >= 12001 && code <= 13500;
        if ((code >= 30000 && code <= 39999) || Operational(code) || code == 10032 || low_toner || cover_open) {
            warning = true;
        }
    }
    return static_cast<int32_t>(warning ? HrDeviceStatus::kWarning : HrDeviceStatus::kRunning);
}

int32_t PrinterStatusOf(const Scenario& s, int32_t device_status) {
    // A printer that is down reports other(1), as RFC 3805 pairs them.
    if (device_status == static_cast<int32_t>(HrDeviceStatus::kDown)) {
        return static_cast<int32_t>(HrPrinterStatus::kOther);
    }
    if (Has(s, 10003)) return static_cast<int32_t>(HrPrinterStatus::kWarmup);
    if (Has(s, 10023) || Has(s, 410023) || Has(s, 510023)) return static_cast<int32_t>(HrPrinterStatus::kPrinting);
    return static_cast<int32_t>(HrPrinterStatus::kIdle);
}

// A serial number of ten digits that stays the same for a scenario.
std::string DefaultSerial(const Scenario& s) {
    uint32_t hash = 2166136261u;
    for (const std::string* text : {&s.maker, &s.model, &s.name}) {
        for (const char c : *text) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    std::string digits = std::to_string(hash % 10000000000ull);
    return std::string(10 - digits.size(), '0') + digits;
}

}  // namespace

PrinterMib ScenarioMib(const Scenario& scenario) {
    PrinterMib mib;
    mib.printer_mib = true;
    // The agent's device ID is one line: line ends in the panel text become
    // blanks, as they always did over SNMP.
    mib.device_id = SimulatedPrinter(scenario).DeviceId();
    std::replace_if(mib.device_id.begin(), mib.device_id.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    const std::string name = scenario.maker.empty() ? scenario.model : scenario.maker + " " + scenario.model;
    mib.sys_descr = scenario.firmware.empty() ? name : name + " " + scenario.firmware;
    mib.hr_descr = name;
    if (scenario.memory_bytes != 0) mib.memory_kib = static_cast<int64_t>(scenario.memory_bytes / 1024);
    mib.hr_device_status = DeviceStatusOf(scenario);
    mib.hr_printer_status = PrinterStatusOf(scenario, *mib.hr_device_status);
    mib.detected_error_state = ErrorStateOf(scenario);
    mib.serial_number = scenario.serial.empty() ? DefaultSerial(scenario) : scenario.serial;
    mib.life_count = scenario.counter;
    uint32_t index = 0;
    for (const ScenarioTray& tray : scenario.trays) mib.inputs.push_back(InputOf(tray, ++index));
    const bool two_shift_trays = std::find(scenario.options.begin(), scenario.options.end(), "OUTTRAYBOOKLET") !=
                                 scenario.options.end();
    index = 0;
    for (const ScenarioBin& bin : scenario.bins) mib.outputs.push_back(OutputOf(bin, ++index, two_shift_trays));
    const std::vector<ScenarioSupply> supplies =
        scenario.marker_supplies.empty() ? DefaultSupplies(scenario) : scenario.marker_supplies;
    index = 0;
    for (const ScenarioSupply& supply : supplies) mib.supplies.push_back(SupplyOf(supply, ++index));
    index = 0;
    for (std::string_view colour : kTonerColours) mib.colorants.push_back({++index, std::string(colour)});
    // The simplex path, and the duplex path when a duplex unit is installed.
    mib.media_paths.push_back({1, 5});
    if (std::find(scenario.options.begin(), scenario.options.end(), "DUPLEX") != scenario.options.end()) {
        mib.media_paths.push_back({2, kMediaPathLongEdgeDuplex});
    }
    return mib;
}

bool HasPrinterError(const std::string& state, PrinterError error) {
    const int bit = static_cast<int>(error);
    const size_t octet = static_cast<size_t>(bit / 8);
    return octet < state.size() && (static_cast<unsigned char>(state[octet]) & (0x80 >> (bit % 8))) != 0;
}

}  // namespace tb58mon
