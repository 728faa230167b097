// A printer's MIB as a list of SNMP variable bindings (object identifier,
// type, value), the form in which an agent serves it and a walk brings it
// back: the simulated printer's agent serves FlattenPrinterMib, the reader
// turns what its walks brought into a PrinterMib with ParsePrinterMib.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "mib/printer_mib.h"

namespace tb58mon {

using ObjectId = std::vector<uint32_t>;

enum class MibType {
    kInteger,    // INTEGER (Integer32)
    kOctets,     // OCTET STRING
    kObjectId,   // OBJECT IDENTIFIER (value in oid_value)
    kGauge,      // Gauge32 / Unsigned32
    kCounter,    // Counter32
    kTimeTicks,  // TimeTicks
};

struct MibBinding {
    ObjectId oid;
    MibType type = MibType::kInteger;
    int64_t number = 0;   // kInteger, kGauge, kCounter, kTimeTicks
    std::string text;     // kOctets
    ObjectId oid_value;   // kObjectId
};

// The subtrees a reader walks and the single objects it asks, and their
// columns.  Tables are indexed as the RFCs say: prtInputTable by
// (hrDeviceIndex, prtInputIndex), prtMarkerSuppliesTable by (hrDeviceIndex,
// prtMarkerSuppliesIndex); the printer is hrDeviceIndex 1.
namespace mib_oid {
inline const ObjectId kSysDescr = {1, 3, 6, 1, 2, 1, 1, 1, 0};
inline const ObjectId kHrMemorySize = {1, 3, 6, 1, 2, 1, 25, 2, 2, 0};
inline const ObjectId kHrDeviceType = {1, 3, 6, 1, 2, 1, 25, 3, 2, 1, 2, 1};
inline const ObjectId kHrDeviceDescr = {1, 3, 6, 1, 2, 1, 25, 3, 2, 1, 3, 1};
inline const ObjectId kHrDeviceStatus = {1, 3, 6, 1, 2, 1, 25, 3, 2, 1, 5, 1};
inline const ObjectId kHrPrinterStatus = {1, 3, 6, 1, 2, 1, 25, 3, 5, 1, 1, 1};
inline const ObjectId kHrPrinterDetectedErrorState = {1, 3, 6, 1, 2, 1, 25, 3, 5, 1, 2, 1};
inline const ObjectId kHrDevicePrinter = {1, 3, 6, 1, 2, 1, 25, 3, 1, 5};  // the value of hrDeviceType
inline const ObjectId kPrtGeneralSerialNumber = {1, 3, 6, 1, 2, 1, 43, 5, 1, 1, 17, 1};
inline const ObjectId kPrtMarkerLifeCount = {1, 3, 6, 1, 2, 1, 43, 10, 2, 1, 4, 1, 1};
inline const ObjectId kPrtInputEntry = {1, 3, 6, 1, 2, 1, 43, 8, 2, 1};
inline const ObjectId kPrtOutputEntry = {1, 3, 6, 1, 2, 1, 43, 9, 2, 1};
inline const ObjectId kPrtMarkerSuppliesEntry = {1, 3, 6, 1, 2, 1, 43, 11, 1, 1};
inline const ObjectId kPrtMarkerColorantEntry = {1, 3, 6, 1, 2, 1, 43, 12, 1, 1};
inline const ObjectId kPrtMediaPathEntry = {1, 3, 6, 1, 2, 1, 43, 13, 4, 1};
inline const ObjectId kPpmPrinterIEEE1284DeviceId = {1, 3, 6, 1, 4, 1, 2699, 1, 2, 1, 2, 1, 1, 3, 1};
}  // namespace mib_oid

// The single objects a reader GETs, in one request.
std::vector<ObjectId> PrinterMibScalars();
// The table columns a reader walks (the columns ParsePrinterMib reads).
std::vector<ObjectId> PrinterMibColumns();

// A table keeps at most this many rows; a row beyond is dropped (an agent
// that sends thousands of trays is not believed).
constexpr size_t kMaxMibRows = 64;

// Every object of mib as bindings, in ascending OID order (the order a walk
// gives), with hrDeviceType.1 = hrDevicePrinter.  Absent objects are left
// out.
std::vector<MibBinding> FlattenPrinterMib(const PrinterMib& mib);

// Reads bindings (any order; duplicates: the last wins) into a PrinterMib.
// A binding of an unexpected type, or a number out of the object's range,
// is skipped as if the agent had not given it; texts are kept as they came
// (octets, not yet checked for UTF-8 or control characters).
PrinterMib ParsePrinterMib(std::span<const MibBinding> bindings);

// A binding of a number (kInteger, kGauge, kCounter, kTimeTicks) or of a
// text (kOctets).
MibBinding NumberBinding(ObjectId oid, int64_t value, MibType type = MibType::kInteger);
MibBinding TextBinding(ObjectId oid, std::string text);

// OID order (RFC 3416: component by component, a prefix first).
bool OidLess(const ObjectId& a, const ObjectId& b);
bool OidStartsWith(const ObjectId& oid, const ObjectId& prefix);
std::string OidText(const ObjectId& oid);  // "1.3.6.1..."

}  // namespace tb58mon
