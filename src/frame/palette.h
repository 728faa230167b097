// The model's colour palette: a table of entries ended by one whose flags
// byte is kPaletteEnd.  This model's table is empty.
#pragma once

#include <cstdint>

#include "Tb58Wk31Resources.h"

namespace tb58::frame {

constexpr uint8_t kPaletteEnd = 0xFF;

extern const PaletteEntry kModelPalette[];

// Copies the entries of table into palette as a LOGPALETTE.  size: in, the
// capacity of palette; out, the needed size when the capacity is too small
// (otherwise unchanged).  Returns 0; TB58_ERROR_NO_PALETTE for a table
// without entries (before the size is looked at); ERROR_INSUFFICIENT_BUFFER.
// The export has checked size and the palette pointer.
uint32_t CopyPalette(const PaletteEntry* table, PaletteInfo* palette, uint32_t* size);

}  // namespace tb58::frame
