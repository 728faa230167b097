// The supplies and inventory a printer's MIB gives, as the monitor shows
// them: each marker supply with its description, type, colour and level;
// the serial number, model, firmware, memory and page count.  Texts from
// the agent are made printable here; types and colours come from fixed
// lists, so they may serve as metric labels.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/json.h"
#include "base/toner_level.h"
#include "mib/printer_mib.h"

namespace tb58mon {

struct SupplyReading {
    std::string description;    // printable, at most 64 characters
    std::string type;           // "toner", "waste toner", "drum", ... ("other" for the rest)
    std::string color;          // "black", "cyan", ... from the colorant table; "" for none
    bool receptacle = false;    // fills up (a waste toner box): its level is the room left
    std::optional<double> ratio;  // level / capacity, 0..1, when both are real numbers
    std::string level_text;     // "8 %", "some remaining", "unknown", "other"
};

struct Inventory {
    std::string serial;
    std::string model;
    std::string firmware;       // empty: the MIB does not carry it
    std::optional<int64_t> memory_kib;
    std::optional<int64_t> pages;
};

// The supplies in table order (at most the rows the MIB kept).
std::vector<SupplyReading> ReadSupplies(const PrinterMib& mib);

Inventory ReadInventory(const PrinterMib& mib);

// The toner's state from the toner supplies' levels: empty at 0, low at or
// under 10 %; none when no toner supply has a level.
std::optional<TonerLevel> TonerStateFromLevels(const std::vector<SupplyReading>& supplies);

// [{"description", "type", "color" (null for none), "receptacle",
//   "level" (0..1, null unless known), "state" (SupplyLine, in English),
//   "level_kind" ("percent", "some_remaining" or "unknown")}]
Json SuppliesJson(const std::vector<SupplyReading>& supplies);

// The line a person reads: "8 %" or "95 % full" for a receptacle, or the
// level's text.
std::string SupplyLine(const SupplyReading& supply);

}  // namespace tb58mon
