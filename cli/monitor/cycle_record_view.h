// The record of a cycle as the monitor shows it: the library's record read
// into words (ViewRecord), with the tray levels the printer itself gave.
// Over PJL those are the quantity answers of the rounds' replies; over
// snmp:// the MIB's current level and capacity of each tray, more exact
// than the level marks the record holds after the printer-management path.
#pragma once

#include "monitor/monitor_cycle.h"
#include "report/record_view.h"

namespace tb58mon {

RecordView ViewCycleRecord(const PrnInfoEx& record, const MonitorCycle& cycle);

// The percent a tray's MIB level gives: its ratio rounded down, but 1 for
// a tray that holds any paper at all (0 % means empty); none when level or
// capacity is no real number.
std::optional<uint16_t> MibTrayPercent(const MibInput& input);

}  // namespace tb58mon
