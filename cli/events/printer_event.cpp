#include "events/printer_event.h"

#include <chrono>
#include <cstdio>

#include "base/reply_words.h"

namespace tb58mon {
namespace {

using std::chrono::day;
using std::chrono::month;
using std::chrono::sys_days;
using std::chrono::year;
using std::chrono::year_month_day;

// The digits of text[from, from + count) as a number; nullopt when one is
// not a digit or the text is too short.
std::optional<int> Digits(std::string_view text, size_t from, size_t count) {
    if (from + count > text.size()) return std::nullopt;
    int value = 0;
    for (size_t i = from; i < from + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// "+01:00", "-05:30", "Z": the offset in seconds; nullopt otherwise.
std::optional<int> Offset(std::string_view text) {
    if (text == "Z" || text == "z") return 0;
    if (text.size() != 6 || (text[0] != '+' && text[0] != '-') || text[3] != ':') return std::nullopt;
    const auto hours = Digits(text, 1, 2);
    const auto minutes = Digits(text, 4, 2);
    if (!hours || !minutes || *hours > 23 || *minutes > 59) return std::nullopt;
    const int seconds = *hours * 3600 + *minutes * 60;
    return text[0] == '-' ? -seconds : seconds;
}

}  // namespace

std::string_view EventKindName(EventKind kind) {
    switch (kind) {
        case EventKind::kHealth: return "health";
        case EventKind::kCodeBegan: return "code_began";
        case EventKind::kCodeCleared: return "code_cleared";
        case EventKind::kTrayEmpty: return "tray_empty";
        case EventKind::kTrayFilled: return "tray_filled";
        case EventKind::kToner: return "toner";
        case EventKind::kPagesDaily: return "pages_daily";
    }
    return "?";
}

std::optional<EventKind> EventKindOfName(std::string_view name) {
    for (EventKind kind : kAllEventKinds) {
        if (EventKindName(kind) == name) return kind;
    }
    return std::nullopt;
}

std::string TrayEnglishName(uint16_t tray) {
    const TrayWords* words = FindTrayByCode(tray);
    return words != nullptr ? std::string(words->english_name) : "Tray " + std::to_string(tray);
}

int32_t UtcDay(int64_t unix_seconds) {
    const int64_t days = unix_seconds / 86400 - (unix_seconds % 86400 < 0 ? 1 : 0);
    return static_cast<int32_t>(days);
}

std::string DayText(int32_t days) {
    const year_month_day date{sys_days{std::chrono::days{days}}};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return text;
}

std::string RfcTime(int64_t unix_seconds) {
    const int64_t seconds = unix_seconds - static_cast<int64_t>(UtcDay(unix_seconds)) * 86400;
    char text[48];
    std::snprintf(text, sizeof text, "%sT%02d:%02d:%02dZ", DayText(UtcDay(unix_seconds)).c_str(),
                  static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
    return text;
}

std::optional<int64_t> ParseRfcTime(std::string_view text) {
    // YYYY-MM-DDTHH:MM:SS, then .fraction, then the offset.
    if (text.size() < 20 || text[4] != '-' || text[7] != '-' || (text[10] != 'T' && text[10] != 't') ||
        text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    const auto y = Digits(text, 0, 4), mo = Digits(text, 5, 2), d = Digits(text, 8, 2);
    const auto h = Digits(text, 11, 2), mi = Digits(text, 14, 2), s = Digits(text, 17, 2);
    if (!y || !mo || !d || !h || !mi || !s || *h > 23 || *mi > 59 || *s > 60) return std::nullopt;
    const year_month_day date{year{*y}, month{static_cast<unsigned>(*mo)}, day{static_cast<unsigned>(*d)}};
    if (!date.ok()) return std::nullopt;
    size_t at = 19;
    if (text[at] == '.') {
        const size_t first = ++at;
        while (at < text.size() && at - first < 9 && text[at] >= '0' && text[at] <= '9') ++at;
        if (at == first) return std::nullopt;
    }
    const auto offset = Offset(text.substr(at));
    if (!offset) return std::nullopt;
    const int64_t days = sys_days{date}.time_since_epoch().count();
    return days * 86400 + *h * 3600 + *mi * 60 + *s - *offset;
}

}  // namespace tb58mon
