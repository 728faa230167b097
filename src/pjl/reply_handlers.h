// The reply handlers the dispatch tables call: each reads what follows its
// triggering token and stores it in the printer information record.
#pragma once

#include <cstdint>

#include "pjl/reply_dispatch.h"

namespace tb58::pjl {

// Common rows.
uint32_t HandleEmulUniqInfo(PjlReply&, PjlHandlerRef, uint32_t);     // INFO TZMO
uint32_t HandleDeviceInfoReset(PjlReply&, PjlHandlerRef, uint32_t);  // INFO CONFIG
uint32_t HandleVersionSection(PjlReply&, PjlHandlerRef, uint32_t);   // VERSION
uint32_t HandleInTraySection(PjlReply&, PjlHandlerRef, uint32_t);    // IN TRAYS
uint32_t HandleMemorySize(PjlReply&, PjlHandlerRef, uint32_t);       // MEMORY
uint32_t HandlePunchUnit(PjlReply&, PjlHandlerRef, uint32_t);        // PUNCH
uint32_t HandleOutBinSection(PjlReply&, PjlHandlerRef, uint32_t);    // INFO OUTBINSTATUS

// Model rows; the value is a tray code, a special-tray attribute bit, a bin
// code or an option code.
uint32_t HandleTrayPresence(PjlReply&, PjlHandlerRef, uint32_t tray);
uint32_t HandleTrayState(PjlReply&, PjlHandlerRef, uint32_t tray);
uint32_t HandleTrayPaperSize(PjlReply&, PjlHandlerRef, uint32_t tray);
uint32_t HandleTrayMediaType(PjlReply&, PjlHandlerRef, uint32_t tray);
uint32_t HandleTrayQuantity(PjlReply&, PjlHandlerRef, uint32_t tray);
uint32_t HandleSpecialTray(PjlReply&, PjlHandlerRef, uint32_t attribute);
uint32_t HandleOutBinStatus(PjlReply&, PjlHandlerRef, uint32_t bin);
uint32_t HandleInstalledOption(PjlReply&, PjlHandlerRef, uint32_t option);

}  // namespace tb58::pjl
