// What 'tb58mon check' takes from one monitor cycle: the record's status
// flags and codes, its texts in the current language, the tray levels and
// the page counter.
#pragma once

#include "check/check_result.h"
#include "library/library_calls.h"
#include "monitor/monitor_cycle.h"

namespace tb58mon {

// The library's display language must be set before.
CheckFindings FindingsOfCycle(PrnInfoEx* record, const MonitorCycle& cycle, uint32_t code_page);

}  // namespace tb58mon
