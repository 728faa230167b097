// MemBlock: a growable byte block on global memory, with a growth step, a
// used length and one cursor at which reads, writes, inserts and deletions
// take place.  The capacity is never stored: it is always GlobalSize(data).
#pragma once

#include <cstdint>
#include <memory>

namespace tb58 {

struct MemBlock {
    uint32_t step;    // growth step in bytes, never 0
    uint32_t used;    // bytes in use from the start of data
    uint32_t cursor;  // 0 ... used
    void* data;       // fixed global memory block, or null before the first growth
};

// Seek modes of MemBlockSeek; any other value leaves the cursor alone.
enum SeekMode : uint8_t {
    kSeekSet = 1,      // cursor = offset
    kSeekCurrent = 2,  // cursor += offset
    kSeekEnd = 3,      // cursor = used + offset
};

// A new block; with initial_steps > 0 its data (step * initial_steps bytes)
// is allocated at once.  Null for a step of 0 or when memory runs out
// (nothing stays allocated then).
MemBlock* MemBlockCreate(uint32_t step, uint32_t initial_steps);

// Frees the data, if any, then the header.  A null block is ignored.
void MemBlockFree(MemBlock* block);

// Copies n bytes to the cursor, overwriting and growing as needed; the cursor
// advances by n.  False (block unchanged) when memory runs out.
bool MemBlockWrite(MemBlock* block, const void* source, uint32_t n);

// Opens a gap of n bytes at the cursor and copies the bytes into it; the
// cursor advances by n.  False (block unchanged) when memory runs out.
bool MemBlockInsert(MemBlock* block, const void* source, uint32_t n);

// Removes n bytes at the cursor; the cursor stays.  False (nothing changed)
// when fewer than n bytes follow the cursor.
bool MemBlockDelete(MemBlock* block, uint32_t n);

// Moves the cursor.  A target outside 0 ... used leaves the cursor where it
// was, so the cursor never points outside the used bytes.
void MemBlockSeek(MemBlock* block, int32_t offset, uint8_t mode);

uint32_t MemBlockGetSize(const MemBlock* block);

// The address of the n bytes at the cursor (inside the block, not a copy),
// advancing the cursor; null (cursor unchanged) when fewer bytes are used.
void* MemBlockRead(MemBlock* block, uint32_t n);

// Hands the data to the caller (who frees it with GlobalFree) and leaves the
// block empty; the header can then be freed without touching the data.
void* MemBlockDetach(MemBlock* block);

struct MemBlockDeleter {
    void operator()(MemBlock* block) const noexcept { MemBlockFree(block); }
};

// Owns a MemBlock within one call.
using MemBlockPtr = std::unique_ptr<MemBlock, MemBlockDeleter>;

}  // namespace tb58
