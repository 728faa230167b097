// Ownership of a global memory block within one call: the block is released
// with GlobalFree when the owner goes out of scope, on every return path.
#pragma once

#include <memory>

#include "platform/win32_api.h"

namespace tb58 {

struct GlobalFreeDeleter {
    void operator()(void* block) const noexcept { GlobalFree(block); }
};

using GlobalBlock = std::unique_ptr<void, GlobalFreeDeleter>;

// A new fixed block of bytes (zero-filled when zero_fill); empty on failure.
inline GlobalBlock AllocateGlobal(SIZE_T bytes, bool zero_fill) {
    return GlobalBlock(GlobalAlloc(zero_fill ? GMEM_FIXED | GMEM_ZEROINIT : GMEM_FIXED, bytes));
}

}  // namespace tb58
