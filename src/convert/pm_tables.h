// The constant tables that turn printer-management (PMInfo) values into the
// codes of a PrnInfoEx.  Each table is data in a file of its own, its rows
// in search order.  (The tray and output bin names, shared with the device
// names, are in device_name_tables.h.)
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/code_by_name.h"

namespace tb58::convert {

// Name tables (ended by a row with a null name; its code is the default).
extern const CodeByNameRow kEmulationNames[];  // default 0
extern const CodeByNameRow kModelNames[];      // no rows; default 255
extern const CodeByNameRow kFontNames[];       // no rows; default 0
extern const CodeByNameRow kMediaNames[];      // no rows; default 0

// Paper dimensions in millimetres -> paper size code.  A row matches a
// tray's dimensions within a tolerance of 2 mm on each supplied dimension
// (PaperSizeCode).  The last row, dimension 1 = 0xFFFFFFFF and dimension
// 2 = 0, ends the search with its code.
struct PaperDimensionRow {
    uint32_t dimension1;
    uint32_t dimension2;
    uint32_t code;
};
constexpr size_t kPaperDimensionRows = 66;
extern const PaperDimensionRow kPaperDimensions[kPaperDimensionRows];

// Value -> code tables, compared for equality in row order and ended by a
// row whose value is kValueTableEnd; its code is the default.
constexpr uint32_t kValueTableEnd = 0xFFFFFFFFu;
struct CodeByValueRow {
    uint32_t value;
    uint32_t code;
};
extern const CodeByValueRow kMediaBits[];        // media bit -> media code
extern const CodeByValueRow kSecondMediaBits[];  // second media bit -> media code
extern const CodeByValueRow kDeviceCodes[];      // device code -> option code

// The code of the first row whose value equals value, or the end row's code.
uint32_t LookupCodeByValue(const CodeByValueRow* rows, uint32_t value);

// Status word bits -> engine status codes, per function kind.  Ended by a
// row whose kind mask is kValueTableEnd.
struct StatusWordRow {
    uint32_t kind_mask;  // the kinds the row applies to
    uint32_t bit_mask;   // any of these bits set in the word
    int32_t code;        // engine status code added
    bool suppressible;   // skipped when the kind carries the suppress bit
};
extern const StatusWordRow kStatusWordConditions[];

}  // namespace tb58::convert
