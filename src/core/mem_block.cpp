#include "core/mem_block.h"

#include <cstring>

#include "platform/win32_api.h"

namespace tb58 {
namespace {

uint32_t Capacity(const MemBlock* block) {
    return block->data == nullptr ? 0 : static_cast<uint32_t>(GlobalSize(block->data));
}

// Makes room for needed bytes: whole steps counted from the actual capacity.
// On failure the block is exactly as it was.
bool Reserve(MemBlock* block, uint64_t needed) {
    const uint64_t capacity = Capacity(block);
    if (needed <= capacity) return true;
    const uint64_t steps = (needed - capacity + block->step - 1) / block->step;
    const uint64_t new_size = capacity + steps * block->step;
    if (new_size > UINT32_MAX) return false;
    void* data = nullptr;
    if (block->data == nullptr) {
        data = GlobalAlloc(GMEM_FIXED, static_cast<SIZE_T>(new_size));
    } else {
        HGLOBAL moved = GlobalReAlloc(block->data, static_cast<SIZE_T>(new_size), GMEM_MOVEABLE);
        data = moved == nullptr ? nullptr : GlobalLock(moved);
    }
    if (data == nullptr) return false;
    block->data = data;
    return true;
}

char* Bytes(const MemBlock* block) { return static_cast<char*>(block->data); }

}  // namespace

MemBlock* MemBlockCreate(uint32_t step, uint32_t initial_steps) {
    if (step == 0) return nullptr;
    auto* block = static_cast<MemBlock*>(GlobalAlloc(GMEM_FIXED, sizeof(MemBlock)));
    if (block == nullptr) return nullptr;
    *block = MemBlock{step, 0, 0, nullptr};
    if (initial_steps != 0) {
        const uint64_t size = uint64_t{step} * initial_steps;
        block->data = size > UINT32_MAX ? nullptr : GlobalAlloc(GMEM_FIXED, static_cast<SIZE_T>(size));
        if (block->data == nullptr) {
            GlobalFree(block);
            return nullptr;
        }
    }
    return block;
}

void MemBlockFree(MemBlock* block) {
    if (block == nullptr) return;
    if (block->data != nullptr) GlobalFree(block->data);
    GlobalFree(block);
}

bool MemBlockWrite(MemBlock* block, const void* source, uint32_t n) {
    if (n == 0) return true;
    const uint64_t end = uint64_t{block->cursor} + n;
    if (end > UINT32_MAX || !Reserve(block, end)) return false;
    std::memcpy(Bytes(block) + block->cursor, source, n);
    block->cursor = static_cast<uint32_t>(end);
    if (block->used < block->cursor) block->used = block->cursor;
    return true;
}

bool MemBlockInsert(MemBlock* block, const void* source, uint32_t n) {
    if (n == 0) return true;
    const uint64_t needed = uint64_t{block->used} + n;
    if (needed > UINT32_MAX || !Reserve(block, needed)) return false;
    char* at = Bytes(block) + block->cursor;
    std::memmove(at + n, at, block->used - block->cursor);
    std::memcpy(at, source, n);
    block->used = static_cast<uint32_t>(needed);
    block->cursor += n;
    return true;
}

bool MemBlockDelete(MemBlock* block, uint32_t n) {
    if (uint64_t{block->cursor} + n > block->used) return false;
    if (n == 0) return true;
    char* at = Bytes(block) + block->cursor;
    std::memmove(at, at + n, block->used - block->cursor - n);
    block->used -= n;
    return true;
}

void MemBlockSeek(MemBlock* block, int32_t offset, uint8_t mode) {
    int64_t target = 0;
    switch (mode) {
        case kSeekSet: target = offset; break;
        case kSeekCurrent: target = int64_t{block->cursor} + offset; break;
        case kSeekEnd: target = int64_t{block->used} + offset; break;
        default: return;
    }
    if (target < 0 || target > block->used) return;
    block->cursor = static_cast<uint32_t>(target);
}

uint32_t MemBlockGetSize(const MemBlock* block) { return block->used; }

void* MemBlockRead(MemBlock* block, uint32_t n) {
    if (uint64_t{block->cursor} + n > block->used) return nullptr;
    void* at = Bytes(block) + block->cursor;
    block->cursor += n;
    return at;
}

void* MemBlockDetach(MemBlock* block) {
    void* data = block->data;
    block->data = nullptr;
    block->used = 0;
    block->cursor = 0;
    return data;
}

}  // namespace tb58
