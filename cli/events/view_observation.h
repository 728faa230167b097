// What the events see of a printer's view after a cycle (event_diff.h).
#pragma once

#include "events/event_diff.h"
#include "serve/printer_view.h"

namespace tb58mon {

// The view's health, codes, toner (when read), tray levels and counter, at
// the time of its last poll (now when it has none).
PrinterObservation ObservationOfView(const PrinterView& view, int64_t now);

}  // namespace tb58mon
