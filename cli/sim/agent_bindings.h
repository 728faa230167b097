// What the simulated printer's SNMP agent serves: its scenario's MIB (see
// sim/scenario_mib.h) as variable bindings, changed by the SNMP fault
// switches:
//
//   snmp_rows N        prtInputTable and prtMarkerSuppliesTable hold N rows
//                      each (the scenario's, then made-up ones)
//   snmp_wrong_types   every number is served as an OCTET STRING of its
//                      digits, every OCTET STRING as an INTEGER (its length)
//   snmp_extreme       supply levels -5, capacities 2147483647, tray levels
//                      and the page counter 4294967295 as Gauge32 and
//                      Counter32, remaining bin room -2147483648, memory
//                      2147483647 KiB
//
// (snmp_silent stops the agent itself: SnmpAgent::SetSilent.)
#pragma once

#include <vector>

#include "mib/mib_binding.h"
#include "sim/fault_switches.h"
#include "sim/scenario.h"

namespace tb58mon {

// The bindings for the scenario under the faults, in OID order.
std::vector<MibBinding> AgentBindings(const Scenario& scenario, const FaultSwitches& faults);

// The switches' changes alone, for a MIB already made.
void AddRows(PrinterMib& mib, size_t rows);
void MakeExtreme(std::vector<MibBinding>& bindings);
void SwapTypes(std::vector<MibBinding>& bindings);

}  // namespace tb58mon
