// Filling a PrnInfoEx from printer-management information (PMInfo).
#pragma once

#include <cstdint>

#include "Tb58Wk31PMInfo.h"
#include "Tb58Wk31PrnInfoEx.h"

namespace tb58::convert {

// Whether the low byte of variant is the letter of the kind's low 16 bits
// ('d' 1, 'e' 2, 'f' 8, 'h' 0x8000); false for any other kind.
bool VariantMatchesKind(uint32_t kind, uint32_t variant);

// The conversion of a PMInfo of the kind's low 16 bits (1, 2, 8 or 0x8000,
// already checked, as are the pointers, dwSize and the variant).  Bit 31 of
// kind is the suppress bit.  Returns 0, ERROR_INVALID_PARAMETER when a tray
// node cannot be allocated, or ERROR_NOT_ENOUGH_MEMORY when any other node
// or an emulation version cannot be stored; a failure ends the conversion
// where it happened.
uint32_t PMInfoToPrnInfoEx(uint32_t kind, const void* pm_info, uint32_t flags, PrnInfoEx* record);

// The steps of each kind.
uint32_t ConvertMachine(const PMInfoMachine& info, uint32_t flags, PrnInfoEx* record);
uint32_t ConvertPrinter(const PMInfoPrinter& info, uint32_t flags, bool suppress, PrnInfoEx* record);
uint32_t ConvertFunction(const PMInfoFunction& info, uint32_t kind, uint32_t flags, bool suppress,
                         PrnInfoEx* record);

// Adds the engine status codes that the status word's bits stand for with
// the kind (1, 2 or 8); nothing for a word of 0xFFFFFFFF.  With suppress,
// the suppressible conditions are skipped.
void ApplyStatusWord(PrnInfoEx* record, uint32_t word, uint32_t kind, bool suppress);

}  // namespace tb58::convert
