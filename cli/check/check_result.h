// The result of 'tb58mon check': a state as monitoring systems read it
// (the exit code), its one line of output with the performance data, and
// the further lines of -v.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check/threshold_range.h"

namespace tb58mon {

constexpr size_t kCheckTextLimit = 300;

enum class CheckState { kOk = 0, kWarning = 1, kCritical = 2, kUnknown = 3 };

std::string_view CheckStateName(CheckState state);  // "OK", "WARNING", "CRITICAL", "UNKNOWN"
std::optional<CheckState> CheckStateOfOption(std::string_view text);  // "ok", "warning", "critical"
CheckState Worse(CheckState a, CheckState b);  // UNKNOWN counts below CRITICAL, above WARNING

// What one cycle found, in the plain terms the check needs.
struct CheckFindings {
    bool response = false;
    std::string reason;          // without response: why
    bool status_known = false;   // the engine status codes were read
    std::string status_note;     // when not: why
    bool error = false;          // the library's error class (bError)
    bool offline = false;        // bOffline
    std::vector<int32_t> codes;  // engine status codes
    std::string short_text;      // the library's texts in the chosen language
    std::string long_text;
    struct Tray {
        std::string name;            // English, e.g. "Tray 1"
        std::optional<int> percent;  // none: asked, but not readable
    };
    std::vector<Tray> trays;         // the trays whose level the printer was asked for
    std::optional<uint32_t> pages;   // the page counter
};

struct CheckThresholds {
    std::optional<ThresholdRange> warning;   // on the lowest tray level, in percent
    std::optional<ThresholdRange> critical;
    CheckState offline = CheckState::kCritical;  // a printer that does not answer
};

// The state the printer's status calls for:
//   CRITICAL  what stops printing: an error-class condition other than a
//             tray out of paper or an output tray full (jam, cover open,
//             service call, ...), or every tray with a known level empty;
//   WARNING   attention: toner low, one tray empty, an output tray full, a
//             status that could not be read, any other condition that is
//             not normal operation;
//   OK        ready, warming up, printing, energy saver.
// A printer that does not answer gets thresholds.offline.
CheckState StatusState(const CheckFindings& findings, CheckState offline);

// The lowest tray level among the readable ones.
std::optional<int> LowestTrayLevel(const CheckFindings& findings);

// The state of the lowest tray level under -w and -c (OK without levels).
CheckState LevelState(const CheckFindings& findings, const CheckThresholds& thresholds);

// The first line: "TB58 CRITICAL - Paper Misfeed: Front Cover, LCT Cover | pages=48990c ..."
std::string CheckLine(const CheckFindings& findings, CheckState state, const CheckThresholds& thresholds);

// The lines after the first for -v (1: the long text; 2: also trays and
// codes).
std::vector<std::string> VerboseLines(const CheckFindings& findings, int verbosity);

// A printer's text made fit for the output: one line without control
// characters, and no '|' (which would start the performance data).
std::string PluginText(std::string_view text);

// text cut to at most limit bytes at a character boundary, "..." marking
// the cut: the text part of a line stays short whatever a printer says
// (monitoring systems keep only the first few KB of a check's output).
std::string ShortenText(std::string text, size_t limit = kCheckTextLimit);

// A performance data label: kept as it is when it needs no quotes, else
// quoted with ' (a ' inside doubled); '=' and control characters become '_',
// '|' becomes '/'.
std::string PerfLabel(std::string_view label);

// "tray1" for "Tray 1": lower case letters and digits of an English name.
std::string TrayLabel(std::string_view name);

}  // namespace tb58mon
