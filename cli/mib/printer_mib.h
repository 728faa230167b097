// What a printer's SNMP agent says about it, object by object: the Printer
// MIB (RFC 3805), the Host Resources MIB (RFC 2790), sysDescr and the
// device ID of the Port Monitor MIB.  The reader fills it from the agent's
// answers, the simulated printer serves one made from its scenario, and the
// monitor turns it into PMInfo records for the library and into its own view
// of trays and supplies.
//
// Numbers are kept as the MIB carries them, special values included: in
// level and capacity objects -1 means "other", -2 "unknown" and -3 "some
// remaining" (levels only).  An object the agent did not give is absent
// (std::nullopt, an empty text or an empty table).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tb58mon {

// RFC 3805 special values of levels and capacities.
constexpr int32_t kMibOther = -1;
constexpr int32_t kMibUnknown = -2;
constexpr int32_t kMibSomeRemaining = -3;

// prtInputDimUnit and prtMarkerSuppliesClass values.
constexpr int32_t kDimTenThousandthsOfInches = 3;
constexpr int32_t kDimMicrometers = 4;
constexpr int32_t kSupplyClassConsumed = 3;   // supplyThatIsConsumed
constexpr int32_t kSupplyClassReceptacle = 4; // receptacleThatIsFilled

// hrDeviceStatus, hrPrinterStatus.
enum class HrDeviceStatus : int32_t { kUnknown = 1, kRunning = 2, kWarning = 3, kTesting = 4, kDown = 5 };
enum class HrPrinterStatus : int32_t { kOther = 1, kUnknown = 2, kIdle = 3, kPrinting = 4, kWarmup = 5 };

// prtInputEntry (1.3.6.1.2.1.43.8.2.1), one per paper source.
struct MibInput {
    uint32_t index = 0;                   // prtInputIndex
    std::string name;                     // .13 prtInputName
    std::string media_name;               // .12 prtInputMediaName
    std::optional<int32_t> status;        // .11 prtInputStatus (PrtSubUnitStatusTC bits)
    std::optional<int32_t> dim_unit;      // .3  prtInputDimUnit
    std::optional<int32_t> feed_dim;      // .4  prtInputMediaDimFeedDirDeclared
    std::optional<int32_t> xfeed_dim;     // .5  prtInputMediaDimXFeedDirDeclared
    std::optional<int32_t> max_capacity;  // .9  prtInputMaxCapacity (sheets)
    std::optional<int32_t> current_level; // .10 prtInputCurrentLevel (sheets)
};

// prtOutputEntry (1.3.6.1.2.1.43.9.2.1), one per output bin.
struct MibOutput {
    uint32_t index = 0;
    std::string name;                        // .7 prtOutputName
    std::optional<int32_t> status;           // .6 prtOutputStatus
    std::optional<int32_t> max_capacity;     // .4 prtOutputMaxCapacity
    std::optional<int32_t> remaining;        // .5 prtOutputRemainingCapacity
};

// prtMarkerSuppliesEntry (1.3.6.1.2.1.43.11.1.1), one per supply.
struct MibSupply {
    uint32_t index = 0;
    std::string description;               // .6 prtMarkerSuppliesDescription
    std::optional<int32_t> colorant_index; // .3 prtMarkerSuppliesColorantIndex (0: none)
    std::optional<int32_t> supply_class;   // .4 prtMarkerSuppliesClass
    std::optional<int32_t> type;           // .5 prtMarkerSuppliesType
    std::optional<int32_t> unit;           // .7 prtMarkerSuppliesSupplyUnit
    std::optional<int32_t> max_capacity;   // .8 prtMarkerSuppliesMaxCapacity
    std::optional<int32_t> level;          // .9 prtMarkerSuppliesLevel
};

// prtMarkerColorantEntry (1.3.6.1.2.1.43.12.1.1).
struct MibColorant {
    uint32_t index = 0;
    std::string value;  // .4 prtMarkerColorantValue: "black", "cyan", ...
};

// prtMediaPathEntry (1.3.6.1.2.1.43.13.4.1): the paths paper takes; a
// duplex path means a duplex unit.
constexpr int32_t kMediaPathLongEdgeDuplex = 3;
constexpr int32_t kMediaPathShortEdgeDuplex = 4;
struct MibMediaPath {
    uint32_t index = 0;
    std::optional<int32_t> type;  // .9 prtMediaPathType
};

struct PrinterMib {
    std::string device_id;    // ppmPrinterIEEE1284DeviceId.1
    std::string sys_descr;    // sysDescr.0
    std::string hr_descr;     // hrDeviceDescr.1
    std::optional<int64_t> memory_kib;                // hrMemorySize.0 (KiB)
    std::optional<int32_t> hr_device_status;          // hrDeviceStatus.1
    std::optional<int32_t> hr_printer_status;         // hrPrinterStatus.1
    std::string detected_error_state;                 // hrPrinterDetectedErrorState.1 (octets)
    std::string serial_number;                        // prtGeneralSerialNumber.1
    std::optional<int64_t> life_count;                // prtMarkerLifeCount.1.1
    std::vector<MibInput> inputs;
    std::vector<MibOutput> outputs;
    std::vector<MibSupply> supplies;
    std::vector<MibColorant> colorants;
    std::vector<MibMediaPath> media_paths;
    bool printer_mib = false;  // the agent answered any object of the Printer MIB
};

}  // namespace tb58mon
