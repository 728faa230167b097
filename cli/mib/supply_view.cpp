#include "mib/supply_view.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "base/printable_text.h"

namespace tb58mon {
namespace {

constexpr size_t kLongestDescription = 64;
constexpr double kLowToner = 0.10;

// PrtMarkerSuppliesTypeTC, 1 to 34.
constexpr std::array<std::string_view, 35> kSupplyTypes = {
    "",           "other",         "unknown",      "toner",          "waste toner",
    "ink",        "ink cartridge", "ink ribbon",   "waste ink",      "drum",
    "developer",  "fuser oil",     "solid wax",    "ribbon wax",     "waste wax",
    "fuser",      "corona wire",   "fuser oil wick", "cleaner unit", "fuser cleaning pad",
    "transfer unit", "toner cartridge", "fuser oiler", "water",      "waste water",
    "glue water additive", "waste paper", "binding supply", "banding supply", "stitching wire",
    "shrink wrap", "paper wrap",   "staples",      "inserts",        "covers",
};

// The colours a colorant value may name (RFC 3805 lists these and "other").
constexpr std::array<std::string_view, 9> kColourNames = {"black",   "cyan",  "magenta", "yellow", "red",
                                                      "green",   "blue",  "white",   "other"};

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return lower;
}

std::string ColourOf(const PrinterMib& mib, const MibSupply& supply) {
    if (!supply.colorant_index || *supply.colorant_index <= 0) return "";
    for (const MibColorant& colorant : mib.colorants) {
        if (colorant.index != static_cast<uint32_t>(*supply.colorant_index)) continue;
        const std::string value = Lower(colorant.value);
        const bool known = std::find(kColourNames.begin(), kColourNames.end(), value) != kColourNames.end();
        return known ? value : "other";
    }
    return "";
}

std::string Printable(std::string_view text, size_t longest) {
    std::string printable = PrintableText(text.substr(0, std::min(text.size(), longest * 4)));
    // Cut at a character, not inside one.
    size_t characters = 0;
    for (size_t i = 0; i < printable.size(); ++i) {
        if ((static_cast<unsigned char>(printable[i]) & 0xC0) != 0x80 && characters++ == longest) {
            printable.resize(i);
            break;
        }
    }
    return printable;
}

// How the level reads, for a page that puts it in its own words:
// "percent" (level holds it), "some_remaining" or "unknown".
std::string_view LevelKind(const SupplyReading& supply) {
    if (supply.ratio) return "percent";
    return supply.level_text == "some remaining" ? "some_remaining" : "unknown";
}

}  // namespace

std::vector<SupplyReading> ReadSupplies(const PrinterMib& mib) {
    std::vector<SupplyReading> supplies;
    for (const MibSupply& supply : mib.supplies) {
        SupplyReading reading;
        reading.description = Printable(supply.description, kLongestDescription);
        const int32_t type = supply.type.value_or(2);
        reading.type = std::string(type >= 1 && type < static_cast<int32_t>(kSupplyTypes.size()) ? kSupplyTypes[type] : "other");
        reading.color = ColourOf(mib, supply);
        reading.receptacle = supply.supply_class == kSupplyClassReceptacle;
        const int32_t level = supply.level.value_or(kMibUnknown);
        const int32_t capacity = supply.max_capacity.value_or(kMibUnknown);
        if (level >= 0 && capacity > 0) {
            reading.ratio = std::min(1.0, static_cast<double>(level) / capacity);
            reading.level_text = std::to_string(static_cast<int>(std::floor(*reading.ratio * 100))) + " %";
        } else if (level == kMibSomeRemaining) {
            reading.level_text = "some remaining";
        } else if (level == kMibOther) {
            reading.level_text = "other";
        } else {
            reading.level_text = "unknown";
        }
        supplies.push_back(std::move(reading));
    }
    return supplies;
}

Inventory ReadInventory(const PrinterMib& mib) {
    Inventory inventory;
    inventory.serial = Printable(mib.serial_number, kLongestDescription);
    inventory.model = Printable(mib.hr_descr, kLongestDescription);
    inventory.memory_kib = mib.memory_kib;
    inventory.pages = mib.life_count;
    return inventory;
}

std::optional<TonerLevel> TonerStateFromLevels(const std::vector<SupplyReading>& supplies) {
    std::optional<TonerLevel> state;
    for (const SupplyReading& supply : supplies) {
        if ((supply.type != "toner" && supply.type != "toner cartridge") || supply.receptacle || !supply.ratio) continue;
        if (*supply.ratio <= 0) return TonerLevel::kEmpty;
        if (*supply.ratio <= kLowToner) state = TonerLevel::kLow;
        else if (!state) state = TonerLevel::kOk;
    }
    return state;
}

Json SuppliesJson(const std::vector<SupplyReading>& supplies) {
    Json list = Json::array();
    for (const SupplyReading& supply : supplies) {
        list.push_back({{"description", supply.description},
                        {"type", supply.type},
                        {"color", supply.color.empty() ? Json(nullptr) : Json(supply.color)},
                        {"receptacle", supply.receptacle},
                        {"level", supply.ratio ? Json(*supply.ratio) : Json(nullptr)},
                        {"state", SupplyLine(supply)},
                        {"level_kind", LevelKind(supply)}});
    }
    return list;
}

std::string SupplyLine(const SupplyReading& supply) {
    if (supply.receptacle && supply.ratio) {
        return std::to_string(static_cast<int>(std::ceil((1.0 - *supply.ratio) * 100 - 1e-9))) + " % full";
    }
    return supply.level_text;
}

}  // namespace tb58mon
