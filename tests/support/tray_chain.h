// Trays in a record's pTrayInfo chain, appended as a caller appends them.
#pragma once

#include "Tb58Wk31Platform.h"

namespace tb58::test {

constexpr uint16_t kTray4 = 6;  // tray identifier of Tray 4

inline void AppendTray(PrnInfoEx* record, uint16_t tray) {
    auto* node = static_cast<TrayInfoNode*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(TrayInfoNode)));
    node->size = sizeof(TrayInfoNode);
    node->wTrayCode = tray;
    void** link = reinterpret_cast<void**>(&record->pTrayInfo);
    while (*link != nullptr) link = &static_cast<ChainNode*>(*link)->next;
    *link = node;
    ++record->nTrayInfo;
}

}  // namespace tb58::test
