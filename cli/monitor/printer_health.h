// A printer's health as the fleet service sees it after a cycle, worst
// first, with its names: the words of the page and JSON ("no response") and
// the labels of metrics, events and notification rules ("no_response").
#pragma once

#include <optional>
#include <string_view>

namespace tb58mon {

// Worst first.  kUnknown: the printer answered, but its status codes could
// not be read (no device ID, or none with a readable STS field), so nothing
// is claimed about its state.  kWaiting: not polled yet.
enum class PrinterHealth { kError = 0, kNoResponse = 1, kAttention = 2, kUnknown = 3, kWaiting = 4, kReady = 5 };
constexpr PrinterHealth kAllHealths[] = {PrinterHealth::kError,   PrinterHealth::kNoResponse, PrinterHealth::kAttention,
                                         PrinterHealth::kUnknown, PrinterHealth::kWaiting,    PrinterHealth::kReady};

std::string_view HealthName(PrinterHealth health);   // "error", "no response", ..., "unknown"
std::string_view HealthLabel(PrinterHealth health);  // "error", "no_response", ..., "unknown"
std::optional<PrinterHealth> HealthOfLabel(std::string_view label);

// True when the engine status codes of a view with this health were read:
// the printer answered and its device ID had a readable status field.
constexpr bool CodesKnown(PrinterHealth health) {
    return health == PrinterHealth::kError || health == PrinterHealth::kAttention || health == PrinterHealth::kReady;
}

}  // namespace tb58mon
