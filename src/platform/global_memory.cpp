// Global memory over the C allocator.
//
// Each block carries a small header in front of the address handed out: a
// mark that tells our blocks from stray pointers and the size that was asked
// for, which GlobalSize reports (as Windows does for fixed blocks).  Blocks
// are fixed: the handle is the address, GlobalLock returns it unchanged.
#include <cstdlib>
#include <cstring>

#include "platform/win32_api.h"

namespace {

constexpr uint64_t kBlockMark = 0x7462353847424c4bull;  // "tb58GBLK"
constexpr uint64_t kFreedMark = 0x7462353846524545ull;  // "tb58FREE"

struct alignas(16) BlockHeader {
    uint64_t mark;
    uint64_t size;
};
static_assert(sizeof(BlockHeader) == 16);

BlockHeader* HeaderOf(HGLOBAL block) {
    if (block == nullptr) return nullptr;
    auto* header = static_cast<BlockHeader*>(block) - 1;
    return header->mark == kBlockMark ? header : nullptr;
}

// Blocks up to this size are zero-filled by hand (see GlobalAlloc).
constexpr SIZE_T kSmallBlock = 1024;

bool SizeFits(SIZE_T bytes) { return bytes <= SIZE_MAX - sizeof(BlockHeader); }

}  // namespace

extern "C" {

TB58WK31_API void* GlobalAlloc(uint32_t flags, size_t bytes) {
    if (tb58::platform::AllocationShouldFail() || !SizeFits(bytes)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    // Small zero-filled blocks are taken with malloc and filled here: the C
    // allocator serves malloc from its per-thread cache, calloc not.
    const bool zero = (flags & GMEM_ZEROINIT) != 0;
    const bool small = bytes <= kSmallBlock;
    void* raw = zero && !small ? std::calloc(1, sizeof(BlockHeader) + bytes) : std::malloc(sizeof(BlockHeader) + bytes);
    if (raw == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    auto* header = static_cast<BlockHeader*>(raw);
    if (zero && small) std::memset(header + 1, 0, bytes);
    header->mark = kBlockMark;
    header->size = bytes;
    return header + 1;
}

TB58WK31_API void* GlobalFree(void* block) {
    if (block == nullptr) return nullptr;
    BlockHeader* header = HeaderOf(block);
    if (header == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return block;
    }
    header->mark = kFreedMark;
    std::free(header);
    return nullptr;
}

TB58WK31_API size_t GlobalSize(void* block) {
    BlockHeader* header = HeaderOf(block);
    if (header == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return header->size;
}

}  // extern "C"

// A failed reallocation leaves the old block exactly as it was.  Growth is
// zero-filled when GMEM_ZEROINIT is given.
HGLOBAL GlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags) {
    BlockHeader* header = HeaderOf(block);
    if (header == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (tb58::platform::AllocationShouldFail() || !SizeFits(bytes)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    const SIZE_T old_size = header->size;
    void* raw = std::realloc(header, sizeof(BlockHeader) + bytes);
    if (raw == nullptr) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    header = static_cast<BlockHeader*>(raw);
    header->size = bytes;
    if ((flags & GMEM_ZEROINIT) && bytes > old_size) {
        std::memset(reinterpret_cast<char*>(header + 1) + old_size, 0, bytes - old_size);
    }
    return header + 1;
}

LPVOID GlobalLock(HGLOBAL block) {
    if (HeaderOf(block) == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return block;
}

BOOL GlobalUnlock(HGLOBAL block) {
    if (HeaderOf(block) == nullptr) SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;  // fixed blocks carry no lock count
}
