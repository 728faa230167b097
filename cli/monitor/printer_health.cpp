#include "monitor/printer_health.h"

namespace tb58mon {

std::string_view HealthName(PrinterHealth health) {
    switch (health) {
        case PrinterHealth::kError: return "error";
        case PrinterHealth::kNoResponse: return "no response";
        case PrinterHealth::kAttention: return "attention";
        case PrinterHealth::kUnknown: return "unknown";
        case PrinterHealth::kWaiting: return "waiting";
        case PrinterHealth::kReady: return "ready";
    }
    return "?";
}

std::string_view HealthLabel(PrinterHealth health) {
    return health == PrinterHealth::kNoResponse ? "no_response" : HealthName(health);
}

std::optional<PrinterHealth> HealthOfLabel(std::string_view label) {
    for (PrinterHealth health : kAllHealths) {
        if (HealthLabel(health) == label) return health;
    }
    return std::nullopt;
}

}  // namespace tb58mon
