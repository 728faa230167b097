#include "notify/notice_texts.h"

#include <mutex>

#include "base/terminal_text.h"
#include "library/library_calls.h"
#include "report/status_report.h"
#include "library/library_lock.h"

namespace tb58mon {
namespace {

std::string TextOf(const Json& json, const char* name) {
    const auto found = json.find(name);
    return found != json.end() && found->is_string() ? found->get<std::string>() : std::string();
}

NoticeTexts NoticeTextsOfCodes(const std::vector<int32_t>& codes, bool no_response, uint32_t code_page) {
    OwnedRecord record;
    for (int32_t code : codes) record.AddEngineStatus(code, "");
    record->bNoResponse = no_response ? 1 : 0;
    const Json status = StatusJson(record.get(), TB58_KIND_PRINTER, code_page);
    return NoticeTexts{TextOf(status, "short"), TextOf(status, "long")};
}

}  // namespace

NoticeTexts EventTexts(const NotifyEvent& event, std::string_view lang) {
    const bool code_event = event.kind == "code_began" || event.kind == "code_cleared";
    const bool tray_event = event.kind == "tray_empty" || event.kind == "tray_filled";
    // Nothing is claimed of a status that could not be read.
    const bool status_event = event.kind == "health" && event.health != "unknown" && event.health != "waiting";
    if (!(code_event && event.code) && !(tray_event && !event.tray_name.empty()) && !status_event) return {};
    const std::lock_guard<std::mutex> lock(LibraryLock());
    SetLocale(lang);
    const uint32_t code_page = CodePageOfLanguage(lang);
    try {
        if (code_event) return NoticeTextsOfCodes({*event.code}, false, code_page);
        if (status_event) return NoticeTextsOfCodes(event.codes, event.health == "no_response", code_page);
        const auto name = GetDeviceName(TB58_DEVICE_NAME_TRAY, event.tray_name.c_str());
        return NoticeTexts{name ? AnsiToUtf8(*name, code_page) : event.tray_name, ""};
    } catch (const CliError&) {
        return {};  // a library call that failed: the notice goes without texts
    }
}

}  // namespace tb58mon
