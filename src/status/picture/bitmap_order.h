// The drawing order of the status picture.
#pragma once

#include "core/mem_block.h"

namespace tb58::status {

// A new layer block with the records of block sorted by layer number
// (records of one number keep their order; number 0 is left out, 255 comes
// last).  Odd layers are copied (SRCCOPY); each even layer is preceded by
// its mask, the same placement named NAME_B, drawn with SRCAND, and is
// itself drawn with SRCPAINT.  Null when memory runs out or an even layer's
// name has 30 characters or more (its mask's name would not fit); nothing
// stays allocated then.  block itself is not changed.
MemBlock* OrderLayers(MemBlock* block);

}  // namespace tb58::status
