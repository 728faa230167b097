#include "events/view_observation.h"

#include <chrono>

namespace tb58mon {

PrinterObservation ObservationOfView(const PrinterState& view, int64_t now) {
    PrinterObservation observation;
    observation.time =
        view.last_poll ? std::chrono::duration_cast<std::chrono::seconds>(view.last_poll->time_since_epoch()).count()
                       : now;
    observation.health = view.health;
    if (CodesKnown(view.health)) {
        observation.codes = view.codes;
        observation.toner = view.toner;
    }
    if (view.health != PrinterHealth::kNoResponse && view.health != PrinterHealth::kWaiting) {
        for (const TrayReading& tray : view.trays) observation.trays.push_back({tray.code, tray.level});
        observation.counter = view.counter;
    }
    return observation;
}

}  // namespace tb58mon
