// What the events see of a printer's state after a cycle (event_diff.h).
#pragma once

#include "events/event_diff.h"
#include "monitor/printer_state.h"

namespace tb58mon {

// The state's health, codes, toner (when read), tray levels and counter, at
// the time of its last poll (now when it has none).
PrinterObservation ObservationOfView(const PrinterState& view, int64_t now);

}  // namespace tb58mon
