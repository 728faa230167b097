#include "events/memory_codec.h"

#include <limits>

#include "report/record_report.h"

namespace tb58mon {
namespace {

template <typename Integer>
std::optional<Integer> IntegerOf(const Json& json, int64_t lowest, uint64_t highest) {
    if (json.is_number_unsigned()) {
        const uint64_t value = json.get<uint64_t>();
        if (value > highest || (lowest > 0 && value < static_cast<uint64_t>(lowest))) return std::nullopt;
        return static_cast<Integer>(value);
    }
    if (json.is_number_integer()) {
        const int64_t value = json.get<int64_t>();
        if (value < lowest || (value >= 0 && static_cast<uint64_t>(value) > highest)) return std::nullopt;
        return static_cast<Integer>(value);
    }
    return std::nullopt;
}

// The field of an object; null when it has none.
const Json& Field(const Json& object, const char* name) {
    static const Json none;
    const auto found = object.find(name);
    return found != object.end() ? *found : none;
}

// An optional field: absent or null is fine; anything else must read.
template <typename Integer>
bool ReadOptional(const Json& object, const char* name, std::optional<Integer>& field) {
    const Json& json = Field(object, name);
    if (json.is_null()) return true;
    field = IntegerOf<Integer>(json, std::numeric_limits<Integer>::min(), std::numeric_limits<Integer>::max());
    return field.has_value();
}

std::optional<PrinterMemory> Read(const Json& json) {
    PrinterMemory memory;
    if (!json.is_object()) return std::nullopt;
    const Json& health_label = Field(json, "health");
    const Json& toner_name = Field(json, "toner");
    const Json& codes = Field(json, "codes");
    const Json& trays = Field(json, "trays");
    if (!health_label.is_string() || !toner_name.is_string() || !codes.is_array() || !trays.is_array()) {
        return std::nullopt;
    }
    const auto health = HealthOfLabel(health_label.get<std::string>());
    const auto toner = TonerOfName(toner_name.get<std::string>());
    if (!health || *health == PrinterHealth::kWaiting || !toner) return std::nullopt;
    memory.health = *health;
    memory.toner = *toner;
    for (const Json& code : codes) {
        const auto value = IntegerOf<int32_t>(code, INT32_MIN, INT32_MAX);
        if (!value) return std::nullopt;
        memory.codes.push_back(*value);
    }
    for (const Json& tray : trays) {
        if (!tray.is_array() || tray.size() != 2) return std::nullopt;
        const auto code = IntegerOf<uint16_t>(tray[0], 0, UINT16_MAX);
        const auto level = IntegerOf<int>(tray[1], -1, 100);
        if (!code || !level) return std::nullopt;
        memory.trays.push_back({*code, *level});
    }
    if (!ReadOptional(json, "day", memory.day) || !ReadOptional(json, "pages", memory.pages) ||
        !ReadOptional(json, "counter", memory.counter)) {
        return std::nullopt;
    }
    return memory;
}

}  // namespace

std::string MemoryText(const PrinterMemory& memory) {
    Json trays = Json::array();
    for (const TrayLevel& tray : memory.trays) trays.push_back(Json::array({tray.tray, tray.level}));
    Json json = {{"health", std::string(HealthLabel(memory.health))},
                 {"codes", memory.codes},
                 {"toner", std::string(TonerName(memory.toner))},
                 {"trays", trays}};
    if (memory.day) json["day"] = *memory.day;
    if (memory.pages) json["pages"] = *memory.pages;
    if (memory.counter) json["counter"] = *memory.counter;
    return json.dump();
}

std::optional<PrinterMemory> MemoryOfText(std::string_view text) {
    const Json json = Json::parse(text, nullptr, false);
    if (json.is_discarded()) return std::nullopt;
    try {
        return Read(json);
    } catch (const Json::exception&) {
        return std::nullopt;
    }
}

}  // namespace tb58mon
