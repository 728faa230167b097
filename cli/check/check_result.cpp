#include "check/check_result.h"

#include <algorithm>

#include "base/printable_text.h"
#include "base/engine_code_classes.h"

namespace tb58mon {
namespace {

// Error-class conditions that do not stop the printer as a whole: a paper
// source out of paper (41xyy with yy from 01 to 99, x the tray: 0 to 5 and
// 9; 41x00 is the tray's cover) and an output tray that is full or holds
// prints to be taken (40340, 40341, 40343, 40351 to 40359, 40380 to 40384).
bool IsPaperOutCode(int32_t code) {
    if (code < 41000 || code > 41999 || code % 100 == 0) return false;
    const int32_t tray = (code / 100) % 10;
    return tray <= 5 || tray == 9;
}

bool IsOutputFullCode(int32_t code) {
    return code == 40340 || code == 40341 || code == 40343 || (code >= 40351 && code <= 40359) ||
           (code >= 40380 && code <= 40384);
}

int Rank(CheckState state) {
    switch (state) {
        case CheckState::kOk: return 0;
        case CheckState::kWarning: return 1;
        case CheckState::kUnknown: return 2;
        case CheckState::kCritical: return 3;
    }
    return 2;
}

// The place the long text names: its last line, when it has more than one.
std::string LongTextPlace(std::string_view long_text) {
    while (!long_text.empty() && (long_text.back() == '\n' || long_text.back() == ' ' || long_text.back() == '\r')) {
        long_text.remove_suffix(1);
    }
    const size_t line_break = long_text.rfind('\n');
    if (line_break == std::string_view::npos) return "";
    return PluginText(long_text.substr(line_break + 1));
}

std::string PerfData(const CheckFindings& findings, const CheckThresholds& thresholds) {
    std::string perf;
    const auto add = [&perf](const std::string& item) { perf += (perf.empty() ? "" : " ") + item; };
    add("pages=" + (findings.pages ? std::to_string(*findings.pages) + "c" : std::string("U")));
    for (const CheckFindings::Tray& tray : findings.trays) {
        add(PerfLabel(TrayLabel(tray.name)) + "=" + (tray.percent ? std::to_string(*tray.percent) + "%" : "U") +
            ";;;0;100");
    }
    if (!findings.trays.empty()) {
        const std::optional<int> lowest = LowestTrayLevel(findings);
        add("tray_lowest=" + (lowest ? std::to_string(*lowest) + "%" : std::string("U")) + ";" +
            (thresholds.warning ? thresholds.warning->text : "") + ";" +
            (thresholds.critical ? thresholds.critical->text : "") + ";0;100");
    }
    return perf;
}

std::string StatusText(const CheckFindings& findings) {
    if (!findings.response) {
        std::string text = PluginText(findings.short_text.empty() ? "No response" : findings.short_text);
        if (!findings.reason.empty()) text += " (" + PluginText(findings.reason) + ")";
        return text;
    }
    if (!findings.status_known) {
        return PluginText(findings.status_note.empty() ? "status codes not read" : findings.status_note);
    }
    std::string text = PluginText(findings.short_text.empty() ? "no status text" : findings.short_text);
    const std::string place = LongTextPlace(findings.long_text);
    if (!place.empty() && place != text) text += ": " + place;
    return text;
}

}  // namespace

std::string_view CheckStateName(CheckState state) {
    switch (state) {
        case CheckState::kOk: return "OK";
        case CheckState::kWarning: return "WARNING";
        case CheckState::kCritical: return "CRITICAL";
        case CheckState::kUnknown: return "UNKNOWN";
    }
    return "UNKNOWN";
}

std::optional<CheckState> CheckStateOfOption(std::string_view text) {
    if (text == "ok") return CheckState::kOk;
    if (text == "warning") return CheckState::kWarning;
    if (text == "critical") return CheckState::kCritical;
    return std::nullopt;
}

CheckState Worse(CheckState a, CheckState b) { return Rank(a) >= Rank(b) ? a : b; }

CheckState StatusState(const CheckFindings& findings, CheckState offline) {
    if (!findings.response) return offline;
    if (!findings.status_known) return CheckState::kWarning;
    bool stopped = false;
    if (findings.error) {
        stopped = std::any_of(findings.codes.begin(), findings.codes.end(), [](int32_t code) {
            return !IsNormalStateCode(code) && !IsPaperOutCode(code) && !IsOutputFullCode(code) &&
                   TonerOfCodes({code}) != TonerLevel::kLow;
        });
    }
    const bool every_tray_empty =
        !findings.trays.empty() && std::all_of(findings.trays.begin(), findings.trays.end(), [](const auto& tray) {
            return tray.percent && *tray.percent == 0;
        });
    if (stopped || every_tray_empty) return CheckState::kCritical;
    if (findings.error || findings.offline || !std::all_of(findings.codes.begin(), findings.codes.end(), IsNormalStateCode)) {
        return CheckState::kWarning;
    }
    return CheckState::kOk;
}

std::optional<int> LowestTrayLevel(const CheckFindings& findings) {
    std::optional<int> lowest;
    for (const CheckFindings::Tray& tray : findings.trays) {
        if (tray.percent && (!lowest || *tray.percent < *lowest)) lowest = tray.percent;
    }
    return lowest;
}

CheckState LevelState(const CheckFindings& findings, const CheckThresholds& thresholds) {
    const std::optional<int> lowest = LowestTrayLevel(findings);
    if (!findings.response || !lowest) return CheckState::kOk;
    if (thresholds.critical && RangeAlerts(*thresholds.critical, *lowest)) return CheckState::kCritical;
    if (thresholds.warning && RangeAlerts(*thresholds.warning, *lowest)) return CheckState::kWarning;
    return CheckState::kOk;
}

std::string CheckLine(const CheckFindings& findings, CheckState state, const CheckThresholds& thresholds) {
    std::string text = StatusText(findings);
    if (LevelState(findings, thresholds) != CheckState::kOk) {
        text += ", lowest tray level " + std::to_string(*LowestTrayLevel(findings)) + " %";
    }
    return "TB58 " + std::string(CheckStateName(state)) + " - " + ShortenText(std::move(text)) + " | " + PerfData(findings, thresholds);
}

std::vector<std::string> VerboseLines(const CheckFindings& findings, int verbosity) {
    std::vector<std::string> lines;
    if (verbosity < 1) return lines;
    std::string_view rest = findings.long_text;
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        const std::string line = PluginText(rest.substr(0, end));
        if (line.find_first_not_of(' ') != std::string::npos) lines.push_back(line);
        if (end == std::string_view::npos) break;
        rest.remove_prefix(end + 1);
    }
    if (verbosity < 2) return lines;
    std::string codes;
    for (int32_t code : findings.codes) codes += (codes.empty() ? "" : ",") + std::to_string(code);
    if (!codes.empty()) lines.push_back("status codes: " + codes);
    for (const CheckFindings::Tray& tray : findings.trays) {
        lines.push_back(PluginText(tray.name) + ": " + (tray.percent ? std::to_string(*tray.percent) + " %" : "level unknown"));
    }
    return lines;
}

std::string PluginText(std::string_view text) {
    std::string line = PrintableText(text);
    for (char& c : line) {
        if (c == '|' || c == '\t') c = c == '|' ? '/' : ' ';
    }
    return line;
}

std::string ShortenText(std::string text, size_t limit) {
    if (text.size() <= limit) return text;
    size_t cut = limit < 3 ? 0 : limit - 3;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // not inside a character
    text.resize(cut);
    return text + "...";
}

std::string PerfLabel(std::string_view label) {
    std::string clean = PrintableText(label);
    bool plain = !clean.empty();
    for (char& c : clean) {
        if (c == '=' || static_cast<unsigned char>(c) < 0x20) c = '_';
        if (c == '|') c = '/';
        if (c == ' ' || c == '\'' || c == ';' || c == '"') plain = false;
    }
    if (plain) return clean;
    std::string quoted = "'";
    for (char c : clean) quoted += c == '\'' ? std::string("''") : std::string(1, c);
    return quoted + "'";
}

std::string TrayLabel(std::string_view name) {
    std::string label;
    for (char c : name) {
        if (c >= 'A' && c <= 'Z') label += static_cast<char>(c - 'A' + 'a');
        else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) label += c;
    }
    return label.empty() ? "tray" : label;
}

}  // namespace tb58mon
