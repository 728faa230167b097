// A printer's MIB into the library's record, through the library's own
// printer-management path: a PMInfo of kind 0x8000 (model, trays, bins)
// and one of kind 1 (the status word from the Host Resources MIB), given to
// PatPMInfoToPrnInfoEx; then the device ID alone in a CentroData packet
// (PatSetCentroDataTo), which brings the engine status codes.  What the
// record has no place for (exact tray levels and capacities, supplies, the
// serial number, the page count) stays in the PrinterMib for the monitor's
// own view.
#pragma once

#include <cstdint>
#include <utility>

#include "library/library_calls.h"
#include "mib/printer_mib.h"

namespace tb58mon {

// Bits of the kind-1 status word as the library reads them.
constexpr uint32_t kStatusWordOnline = 0x00000001u;
constexpr uint32_t kStatusWordWarmingUp = 0x00000080u;
constexpr uint32_t kStatusWordPrinting = 0x00400000u;

// Tray state bits of a PMInfo tray entry as the library reads them: empty,
// and the level marks (at most 10, 25, 50, 75 %).
constexpr uint32_t kTrayStateEmpty = 0x00000002u;
constexpr uint32_t kTrayStateAt10 = 0x00000100u;
constexpr uint32_t kTrayStateAt25 = 0x00000200u;
constexpr uint32_t kTrayStateAt50 = 0x00000400u;
constexpr uint32_t kTrayStateAt75 = 0x00000800u;

// The status word hrDeviceStatus and hrPrinterStatus give: online while the
// device runs (running, warning, testing), warming up, printing.
// PMINFO_NOT_SUPPLIED when the agent gave neither.
uint32_t StatusWordOf(const PrinterMib& mib);

// A tray's level as a fraction of its capacity, when both are real numbers
// (a level of -3, "some remaining", is none).  Clamped to 0..1.
std::optional<double> InputLevelRatio(const MibInput& input);

// The tray state bits for a tray: empty when its level is 0 or its status
// says no media; else the level mark; 0 (full) when the level is unknown.
uint32_t TrayStateOf(const MibInput& input);

// The tray's declared paper size in millimetres (feed direction, cross-feed
// direction), PMINFO_NOT_SUPPLIED for a dimension that is unknown or in
// another unit than micrometres and ten-thousandths of inches.
std::pair<uint32_t, uint32_t> TrayDimensionsMm(const MibInput& input);

// The bin state bits: bit 0 (full) when its remaining capacity is 0 or its
// status carries a critical alert.
uint32_t BinStateOf(const MibOutput& output);

// The media bit for a media name: the name read as the printer's media
// words (PLAIN, RECYCLED, ...: case, spaces, '-' and '_' do not count),
// the bit the library turns into that media's code.  PMINFO_NOT_SUPPLIED
// when the name is no media word or no bit gives its code.
uint32_t MediaBitOf(std::string_view media_name);

// Fills record (fresh, or one to update) from mib: the machine (model,
// trays, bins), the options the trays and media paths show (the large-
// capacity tray, the interposer, the manual feed tray, duplex), the status
// word, then the device ID; throws CliError naming
// the call when the library refuses.  Texts reach the library only as
// printable UTF-8 without control characters.
void StoreMibInRecord(PrnInfoEx* record, const PrinterMib& mib);

}  // namespace tb58mon
