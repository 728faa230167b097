// What the simulated printer's SNMP agent says about it: its scenario as the
// Printer MIB and the Host Resources MIB, in agreement with its PJL replies
// and its device ID.
//
//   trays     one prtInputEntry per tray, in the scenario's order, named as
//             the library names trays ("Tray 1", "Bypass Tray", "LCT", ...);
//             dimensions in micrometres, feed direction first, so that in
//             millimetres they are the rows of the library's paper
//             dimension table; capacity 500 sheets (LCT 1500, bypass 100,
//             interposer 200), level from the quantity word (a tray that
//             reports no quantity: -3, "some remaining"); an empty tray is
//             unavailable with a critical alert
//   bins      one prtOutputEntry per bin, named as the library names bins;
//             a full bin: no room left, unavailable, critical alert
//   supplies  the scenario's "supply:" lines, or four toners (levels from
//             the device ID's supply values), a drum and a waste toner box,
//             with the levels the status codes call for (low toner 5 %, no
//             toner 0, waste toner box nearly full: 5 % room left)
//   status    hrDeviceStatus, hrPrinterStatus, hrPrinterDetectedErrorState
//             from the status codes and the state number
//   device ID the printer's, its line ends turned into blanks
#pragma once

#include "mib/printer_mib.h"
#include "sim/scenario.h"

namespace tb58mon {

// RFC 3805 PrtSubUnitStatusTC bits.
constexpr int32_t kSubUnitAvailableIdle = 0;
constexpr int32_t kSubUnitUnavailableOnRequest = 1;
constexpr int32_t kSubUnitNonCriticalAlert = 8;
constexpr int32_t kSubUnitCriticalAlert = 16;

// RFC 2790 hrPrinterDetectedErrorState bits: bit 0 is the high bit of the
// first octet.
enum class PrinterError : int {
    kLowPaper = 0, kNoPaper, kLowToner, kNoToner, kDoorOpen, kJammed, kOffline, kServiceRequested,
    kInputTrayMissing, kOutputTrayMissing, kMarkerSupplyMissing, kOutputNearFull, kOutputFull,
    kInputTrayEmpty, kOverduePreventMaint,
};

// RFC 3805 PrtMarkerSuppliesTypeTC values the simulator uses.
constexpr int32_t kSupplyTypeToner = 3;
constexpr int32_t kSupplyTypeWasteToner = 4;
constexpr int32_t kSupplyTypeOpc = 9;
constexpr int32_t kSupplyTypeDeveloper = 10;
constexpr int32_t kSupplyTypeFuser = 15;
constexpr int32_t kSupplyTypeTransferUnit = 20;
constexpr int32_t kSupplyTypeStaples = 32;
constexpr int32_t kSupplyUnitItems = 18;
constexpr int32_t kSupplyUnitPercent = 19;

PrinterMib ScenarioMib(const Scenario& scenario);

// True when the two-octet error state has the bit set.
bool HasPrinterError(const std::string& state, PrinterError error);

}  // namespace tb58mon
