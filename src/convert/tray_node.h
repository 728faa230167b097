// Building a TrayInfoNode from a printer-management tray entry (form A or
// form B), and the rules that derive its codes.
#pragma once

#include <cstdint>

#include "Tb58Wk31PMInfo.h"
#include "Tb58Wk31PrnInfoEx.h"

namespace tb58::convert {

// Paper size code of a tray: 2 when the attribute word (if supplied) has
// PMINFO_TRAY_ATTR_ANY_SIZE set; 41 when dimension 2 is not supplied; else
// the code of the first paper dimension row within 2 mm of each supplied
// dimension (a dimension that is not supplied must match exactly), or 2
// when the search reaches the end row.  Unsigned 32-bit arithmetic.
uint32_t PaperSizeCode(uint32_t dimension1, uint32_t dimension2, uint32_t attributes);

// Paper level in percent from the tray state bits.
uint32_t PaperLevel(uint32_t state);

// Media code from the media bit; second_media_bit is read only when
// has_second is true (form A) and the media bit has PMINFO_MEDIA_SECOND set.
uint32_t MediaCode(uint32_t media_bit, bool has_second, const uint32_t* second_media_bit, const char* media_name);

// A new node for the entry, or null when the node cannot be allocated.
TrayInfoNode* BuildTrayNode(const PMTrayEntryA& entry);
TrayInfoNode* BuildTrayNode(const PMTrayEntryB& entry);

}  // namespace tb58::convert
