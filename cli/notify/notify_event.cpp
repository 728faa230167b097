#include "notify/notify_event.h"

#include <charconv>
#include <limits>

#include "base/text_format.h"

namespace tb58mon {
namespace {

template <typename Number>
Json OrNull(const std::optional<Number>& value) {
    return value ? Json(*value) : Json(nullptr);
}

Json OrNull(const std::string& text) { return text.empty() ? Json(nullptr) : Json(text); }

bool ReadNumber(std::string_view text, int& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// A text field, or empty for null; false for another type.
bool ReadText(const Json& json, const char* name, std::string& text) {
    const auto found = json.find(name);
    if (found == json.end() || found->is_null()) return true;
    if (!found->is_string()) return false;
    text = found->get<std::string>();
    return true;
}

template <typename Number>
bool ReadOptional(const Json& json, const char* name, std::optional<Number>& value) {
    const auto found = json.find(name);
    if (found == json.end() || found->is_null()) return true;
    if (!found->is_number_integer()) return false;
    const int64_t number = found->get<int64_t>();
    if (number < std::numeric_limits<Number>::min() || number > std::numeric_limits<Number>::max()) return false;
    value = static_cast<Number>(number);
    return true;
}

}  // namespace

bool ParseUtcIsoTime(std::string_view text, TimePoint& time) {
    // YYYY-MM-DDTHH:MM:SSZ
    if (text.size() != 20 || text[4] != '-' || text[7] != '-' || text[10] != 'T' || text[13] != ':' ||
        text[16] != ':' || text[19] != 'Z') {
        return false;
    }
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (!ReadNumber(text.substr(0, 4), year) || !ReadNumber(text.substr(5, 2), month) ||
        !ReadNumber(text.substr(8, 2), day) || !ReadNumber(text.substr(11, 2), hour) ||
        !ReadNumber(text.substr(14, 2), minute) || !ReadNumber(text.substr(17, 2), second)) {
        return false;
    }
    const std::chrono::year_month_day date{std::chrono::year(year), std::chrono::month(static_cast<unsigned>(month)),
                                           std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok() || hour > 23 || minute > 59 || second > 59) return false;
    time = std::chrono::sys_days(date) + std::chrono::hours(hour) + std::chrono::minutes(minute) +
           std::chrono::seconds(second);
    return true;
}

Json NotifyEventJson(const NotifyEvent& event) {
    Json codes = Json::array();
    for (int32_t code : event.codes) codes.push_back(code);
    return Json{{"id", event.id},
                {"printer", event.printer},
                {"uri", event.uri},
                {"time", UtcIsoTime(event.time)},
                {"kind", event.kind},
                {"health", OrNull(event.health)},
                {"previous_health", OrNull(event.previous_health)},
                {"code", OrNull(event.code)},
                {"codes", codes},
                {"tray", OrNull(event.tray)},
                {"tray_name", OrNull(event.tray_name)},
                {"level", OrNull(event.level)},
                {"toner", OrNull(event.toner)},
                {"previous_toner", OrNull(event.previous_toner)},
                {"value", OrNull(event.value)},
                {"day", OrNull(event.day)}};
}

bool NotifyEventFromJson(const Json& json, NotifyEvent& event) {
    if (!json.is_object()) return false;
    NotifyEvent read;
    const auto id = json.find("id");
    const auto time = json.find("time");
    const auto codes = json.find("codes");
    if (id == json.end() || !id->is_number_integer() || time == json.end() || !time->is_string() ||
        !ParseUtcIsoTime(time->get<std::string>(), read.time)) {
        return false;
    }
    read.id = id->get<int64_t>();
    if (codes != json.end() && !codes->is_null()) {
        if (!codes->is_array()) return false;
        for (const Json& code : *codes) {
            if (!code.is_number_integer()) return false;
            read.codes.push_back(code.get<int32_t>());
        }
    }
    const bool fits = ReadText(json, "printer", read.printer) && ReadText(json, "uri", read.uri) &&
                      ReadText(json, "kind", read.kind) && ReadText(json, "health", read.health) &&
                      ReadText(json, "previous_health", read.previous_health) &&
                      ReadText(json, "tray_name", read.tray_name) && ReadText(json, "toner", read.toner) &&
                      ReadText(json, "previous_toner", read.previous_toner) && ReadText(json, "day", read.day) &&
                      ReadOptional(json, "code", read.code) && ReadOptional(json, "tray", read.tray) &&
                      ReadOptional(json, "level", read.level) && ReadOptional(json, "value", read.value);
    if (!fits || read.printer.empty() || read.kind.empty()) return false;
    event = std::move(read);
    return true;
}

}  // namespace tb58mon
