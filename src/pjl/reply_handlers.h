// The reply handlers the dispatch tables call: each reads what follows its
// triggering token and stores it in the printer information record.
#pragma once

#include <cstdint>

#include "pjl/reply_dispatch.h"

namespace tb58::pjl {

// Common rows.
void HandleEmulUniqInfo(PjlReply&, uint32_t);     // INFO TZMO
void HandleDeviceInfoReset(PjlReply&, uint32_t);  // INFO CONFIG
void HandleVersionSection(PjlReply&, uint32_t);   // VERSION
void HandleInTraySection(PjlReply&, uint32_t);    // IN TRAYS
void HandleMemorySize(PjlReply&, uint32_t);       // MEMORY
void HandlePunchUnit(PjlReply&, uint32_t);        // PUNCH
void HandleOutBinSection(PjlReply&, uint32_t);    // INFO OUTBINSTATUS

// Model rows; the value is a tray code, a special-tray attribute bit, a bin
// code or an option code.
void HandleTrayPresence(PjlReply&, uint32_t tray);
void HandleTrayState(PjlReply&, uint32_t tray);
void HandleTrayPaperSize(PjlReply&, uint32_t tray);
void HandleTrayMediaType(PjlReply&, uint32_t tray);
void HandleTrayQuantity(PjlReply&, uint32_t tray);
void HandleSpecialTray(PjlReply&, uint32_t attribute);
void HandleOutBinStatus(PjlReply&, uint32_t bin);
void HandleInstalledOption(PjlReply&, uint32_t option);

}  // namespace tb58::pjl
