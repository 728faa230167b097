// One monitor cycle, as a status monitor polls a printer: a fresh record,
// the configuration round first (the printer lists its trays and options),
// then the status round with every request flag (its tray inquiries follow
// the trays the record now lists), then the TZMO emulation's own round when
// the record lists that emulation.  A round that does not complete stops the
// cycle (a printer that is busy or off is not asked again at once) and sets
// bNoResponse.
#pragma once

#include <string>
#include <vector>

#include "library/library_calls.h"
#include "library/query_cycle.h"
#include "transport/transport.h"

namespace tb58mon {

constexpr uint32_t kConfigurationFlags = INFO_SYSTEM | INFO_EMUL | INFO_DEVICE | INFO_IDENTITY;

struct MonitorCycle {
    std::vector<QueryRound> rounds;
    bool no_response = false;  // a round got no (usable) answer: record.bNoResponse = 1
    std::string reason;        // the first failed round's outcome and message
    std::string ustatus;       // the latest unsolicited status that arrived
};

// Runs one cycle into record (which should be fresh).  With every_round the
// later rounds run even after one failed (the demo shows them all).
MonitorCycle RunMonitorCycle(PrnInfoEx* record, Transport& printer, bool every_round = false);

// True when the record lists the TZMO emulation (pLoadedEmul).
bool HasTzmoEmulation(const PrnInfoEx& record);

}  // namespace tb58mon
