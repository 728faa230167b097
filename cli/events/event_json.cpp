#include "events/event_json.h"

#include <mutex>

#include "base/terminal_text.h"
#include "library/library_calls.h"
#include "report/status_report.h"
#include "library/library_lock.h"

namespace tb58mon {
namespace {

template <typename Value>
Json OrNull(const std::optional<Value>& value) {
    return value ? Json(*value) : Json(nullptr);
}

Json HealthOrNull(const std::optional<PrinterHealth>& health) {
    return health ? Json(std::string(HealthLabel(*health))) : Json(nullptr);
}

Json TonerOrNull(const std::optional<TonerLevel>& toner) {
    return toner ? Json(std::string(TonerName(*toner))) : Json(nullptr);
}

// The status texts of a record holding these codes: {"short", "long"}.
std::pair<Json, Json> CodeTexts(const std::vector<int32_t>& codes, bool no_response, uint32_t code_page) {
    OwnedRecord record;
    for (int32_t code : codes) record.AddEngineStatus(code, "");
    record->bNoResponse = no_response ? 1 : 0;
    const Json status = StatusJson(record.get(), TB58_KIND_PRINTER, code_page);
    return {status["short"], status["long"]};
}

// The texts of one event; called under the library lock with lang set.
std::pair<Json, Json> Texts(const PrinterEvent& event, uint32_t code_page) {
    switch (event.kind) {
        case EventKind::kCodeBegan:
        case EventKind::kCodeCleared:
            if (event.code) return CodeTexts({*event.code}, false, code_page);
            break;
        case EventKind::kHealth:
            if (event.health == PrinterHealth::kNoResponse) return CodeTexts({}, true, code_page);
            if (CodesKnown(event.health)) return CodeTexts(event.codes, false, code_page);
            break;
        case EventKind::kTrayEmpty:
        case EventKind::kTrayFilled:
            if (event.tray) {
                const std::string english = TrayEnglishName(*event.tray);
                const auto local = GetDeviceName(TB58_DEVICE_NAME_TRAY, english.c_str());
                return {Json(local ? AnsiToUtf8(*local, code_page) : english), nullptr};
            }
            break;
        default:
            break;
    }
    return {nullptr, nullptr};
}

Json OneEvent(const PrinterEvent& event, uint32_t code_page) {
    const auto [short_text, long_text] = Texts(event, code_page);
    Json json;
    json["id"] = event.id;
    json["printer"] = event.printer;
    json["uri"] = event.uri;
    json["time"] = RfcTime(event.time);
    json["kind"] = std::string(EventKindName(event.kind));
    json["health"] = std::string(HealthLabel(event.health));
    json["previous_health"] = HealthOrNull(event.previous_health);
    json["code"] = OrNull(event.code);
    json["codes"] = event.codes;
    json["tray"] = OrNull(event.tray);
    json["tray_name"] = event.tray ? Json(TrayEnglishName(*event.tray)) : Json(nullptr);
    json["level"] = OrNull(event.level);
    json["toner"] = TonerOrNull(event.toner);
    json["previous_toner"] = TonerOrNull(event.previous_toner);
    json["value"] = OrNull(event.value);
    json["day"] = event.day ? Json(DayText(*event.day)) : Json(nullptr);
    json["short"] = short_text;
    json["long"] = long_text;
    return json;
}

}  // namespace

Json EventsJson(std::span<const PrinterEvent> events, std::string_view lang) {
    Json list = Json::array();
    if (events.empty()) return list;
    const std::lock_guard<std::mutex> lock(LibraryLock());
    SetLocale(lang);
    const uint32_t code_page = CodePageOfLanguage(lang);
    for (const PrinterEvent& event : events) list.push_back(OneEvent(event, code_page));
    return list;
}

std::string EventsJsonText(std::span<const PrinterEvent> events, std::string_view lang) {
    return EventsJson(events, lang).dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace tb58mon
