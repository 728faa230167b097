// One monitor cycle, as a status monitor polls a printer: a fresh record,
// the configuration round first (the printer lists its trays and options),
// then the status round with every request flag (its tray inquiries follow
// the trays the record now lists), then the TZMO emulation's own round when
// the record lists that emulation.  A round that does not complete stops the
// cycle (a printer that is busy or off is not asked again at once) and sets
// bNoResponse.  One deadline bounds the whole cycle: every round and the
// SNMP requests.
//
// An snmp:// printer's cycle is one round instead: its MIB is read and
// given to the library (PatPMInfoToPrnInfoEx, then the device ID alone
// through PatSetCentroDataTo); the MIB stays with the cycle for the
// monitor's own view of trays, supplies and counters.
//
// A cycle that is answered but brings no readable status codes (no device
// ID: --no-snmp, a silent SNMP agent, a USB device that gives none; or a
// device ID without a readable STS field) says so: the printer's state is
// unknown then, whatever the library would make of an empty code list.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "library/library_calls.h"
#include "monitor/query_round.h"
#include "transport/transport.h"

namespace tb58mon {

constexpr uint32_t kConfigurationFlags = INFO_SYSTEM | INFO_EMUL | INFO_DEVICE | INFO_IDENTITY;

struct MonitorCycle {
    std::vector<QueryRound> rounds;
    bool no_response = false;  // a round got no (usable) answer: record.bNoResponse = 1
    std::string reason;        // the first failed round's outcome and message
    std::string ustatus;       // the latest unsolicited status that arrived
    bool status_read = false;  // answered, with engine status codes from a device ID
    std::string status_note;   // why not: "status codes not read: SNMP did not answer (...)"
    std::optional<PrinterMib> mib;  // snmp://: what the agent said
    std::string mib_note;           // snmp://: what was left unread
};

// A cycle one round at a time, for callers that run the exchanges
// themselves (the fleet poller, on its loop):
//
//   CycleSteps steps(record);
//   while (const QueryRequest* request = steps.Next()) steps.Take(exchange(*request));
//   MonitorCycle cycle = steps.Finish();
class CycleSteps {
public:
    // record should be fresh; it must outlive the steps.  With every_round
    // the later rounds run even after one failed (the demo shows them all).
    // reads_mib: the transport reads the printer's MIB (snmp://).
    explicit CycleSteps(PrnInfoEx* record, bool every_round = false, bool reads_mib = false);

    // The next round's request (its query built by the library), or null
    // when the cycle is over.  Throws CliError when a library call fails.
    const QueryRequest* Next();

    // The transport's answer to the request Next gave.
    void Take(RoundResult result);

    // Sets bNoResponse on the record and gives the cycle.
    MonitorCycle Finish();

private:
    enum class Phase { kConfiguration, kStatus, kEmulation, kMib, kDone };
    void TakeMib(RoundResult result);
    PrnInfoEx* record_;
    bool every_round_;
    Phase phase_ = Phase::kConfiguration;
    bool last_ok_ = true;
    std::optional<PendingRound> pending_;
    QueryRequest mib_request_;
    bool mib_pending_ = false;
    MonitorCycle cycle_;
};

// Runs one cycle into record through a synchronous transport.
MonitorCycle RunMonitorCycle(PrnInfoEx* record, Transport& printer, Deadline deadline, bool every_round = false);

// True when the record lists the TZMO emulation (pLoadedEmul).
bool HasTzmoEmulation(const PrnInfoEx& record);

}  // namespace tb58mon
