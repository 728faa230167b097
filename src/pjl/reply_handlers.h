// The reply handlers the dispatch tables call: each reads what follows its
// triggering token and stores it in the printer information record.
#pragma once

#include <cstdint>

#include "Tb58Wk31PrnInfoEx.h"
#include "pjl/reply_dispatch.h"

namespace tb58::pjl {

// Common rows.
uint32_t HandleEmulUniqInfo(PjlTokenizer&, PrnInfoEx&, PjlHandlerRef, uint32_t);     // INFO TZMO
uint32_t HandleDeviceInfoReset(PjlTokenizer&, PrnInfoEx&, PjlHandlerRef, uint32_t);  // INFO CONFIG
uint32_t HandleVersionSection(PjlTokenizer&, PrnInfoEx&, PjlHandlerRef, uint32_t);   // VERSION
uint32_t HandleInTraySection(PjlTokenizer&, PrnInfoEx&, PjlHandlerRef, uint32_t);    // IN TRAYS
uint32_t HandleMemorySize(PjlTokenizer&, PrnInfoEx&, PjlHandlerRef, uint32_t);       // MEMORY
uint32_t HandlePunchUnit(PjlTokenizer&, PrnInfoEx&, PjlHandlerRef, uint32_t);        // PUNCH
uint32_t HandleOutBinSection(PjlTokenizer&, PrnInfoEx&, PjlHandlerRef, uint32_t);    // INFO OUTBINSTATUS

// Model rows; the value is a tray code, a special-tray attribute bit, a bin
// code or an option code.
uint32_t HandleTrayPresence(PjlTokenizer&, PrnInfoEx&, PjlHandlerRef, uint32_t tray);
uint32_t HandleTrayState(PjlTokenizer&, PrnInfoEx&, PjlHandlerRef, uint32_t tray);
uint32_t HandleTrayPaperSize(PjlTokenizer&, PrnInfoEx&, PjlHandlerRef, uint32_t tray);
uint32_t HandleTrayMediaType(PjlTokenizer&, PrnInfoEx&, PjlHandlerRef, uint32_t tray);
uint32_t HandleTrayQuantity(PjlTokenizer&, PrnInfoEx&, PjlHandlerRef, uint32_t tray);
uint32_t HandleSpecialTray(PjlTokenizer&, PrnInfoEx&, PjlHandlerRef, uint32_t attribute);
uint32_t HandleOutBinStatus(PjlTokenizer&, PrnInfoEx&, PjlHandlerRef, uint32_t bin);
uint32_t HandleInstalledOption(PjlTokenizer&, PrnInfoEx&, PjlHandlerRef, uint32_t option);

// The node of a chain whose item code is the low 16 bits of code, added
// (zero-filled, node_size bytes) when the chain has none; null when memory
// runs out.
ChainNode* ChainFindOrAdd(void* first_location, uint32_t node_size, uint32_t code, uint32_t* count_location);

}  // namespace tb58::pjl
