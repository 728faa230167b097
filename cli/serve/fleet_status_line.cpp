#include "serve/fleet_status_line.h"

namespace tb58mon {

std::string FleetStatusLine(const FleetSnapshot& snapshot) {
    size_t attention = 0;
    for (const auto& view : snapshot.printers) {
        if (view->health != PrinterHealth::kReady && view->health != PrinterHealth::kWaiting) ++attention;
    }
    const size_t count = snapshot.printers.size();
    return std::to_string(count) + (count == 1 ? " printer, " : " printers, ") + std::to_string(attention) +
           (attention == 1 ? " needs attention" : " need attention");
}

}  // namespace tb58mon
