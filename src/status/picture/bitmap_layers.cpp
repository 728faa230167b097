#include "status/picture/bitmap_layers.h"

#include <cstring>

#include "Tb58Wk31.h"
#include "platform/win32_api.h"

namespace tb58::status {
namespace {

// Names are compared up to their terminator, never past the 32 bytes.
bool SameLayer(const BitmapLayer& a, const BitmapLayer& b) {
    return a.bLayer == b.bLayer && a.x == b.x && a.y == b.y &&
           std::strncmp(a.szName, b.szName, kLayerNameCapacity) == 0;
}

// The next record at the cursor, copied to out; false at the end.
bool ReadLayer(MemBlock* block, BitmapLayer* out) {
    const void* at = MemBlockRead(block, kLayerSize);
    if (at == nullptr) return false;
    std::memcpy(out, at, kLayerSize);
    return true;
}

}  // namespace

uint32_t AddLayer(MemBlock* block, const BitmapLayer& layer) {
    MemBlockSeek(block, 0, kSeekSet);
    BitmapLayer present;
    while (ReadLayer(block, &present)) {
        if (SameLayer(present, layer)) return ERROR_SUCCESS;
    }
    MemBlockSeek(block, 0, kSeekEnd);
    return MemBlockWrite(block, &layer, kLayerSize) ? ERROR_SUCCESS : ERROR_NOT_ENOUGH_MEMORY;
}

uint32_t AddNamedLayer(MemBlock* block, const char* name, int32_t x, int32_t y, uint8_t layer) {
    const size_t length = strnlen(name, kLayerNameCapacity);
    if (length >= kLayerNameCapacity) return TB58_ERROR_NOT_FOUND;
    BitmapLayer record{};
    std::memcpy(record.szName, name, length);
    record.x = x;
    record.y = y;
    record.bLayer = layer;
    return AddLayer(block, record);
}

uint32_t AddRecordLayers(MemBlock* block, const StatusBitmapRecord* record) {
    if (record == nullptr) return ERROR_SUCCESS;
    for (uint32_t i = 0; i < record->count && i < kMaxPlacements; ++i) {
        const BitmapLayer& placement = record->placements[i];
        if (placement.szName[0] == '\0') break;
        const uint32_t added = AddLayer(block, placement);
        if (added != ERROR_SUCCESS) return added;
    }
    return ERROR_SUCCESS;
}

void RemoveLayers(MemBlock* block, uint8_t n) {
    MemBlockSeek(block, 0, kSeekSet);
    BitmapLayer present;
    while (ReadLayer(block, &present)) {
        if (present.bLayer != n) continue;
        // Step back onto the record and delete it: the next read yields the
        // record that followed.
        MemBlockSeek(block, -static_cast<int32_t>(kLayerSize), kSeekCurrent);
        MemBlockDelete(block, kLayerSize);
    }
}

void ShiftLayers(MemBlock* block, uint8_t n, int32_t dx, int32_t dy) {
    MemBlockSeek(block, 0, kSeekSet);
    BitmapLayer present;
    while (ReadLayer(block, &present)) {
        if (present.bLayer != n) continue;
        // Positions wrap rather than overflow.
        present.x = static_cast<int32_t>(static_cast<uint32_t>(present.x) + static_cast<uint32_t>(dx));
        present.y = static_cast<int32_t>(static_cast<uint32_t>(present.y) + static_cast<uint32_t>(dy));
        MemBlockSeek(block, -static_cast<int32_t>(kLayerSize), kSeekCurrent);
        MemBlockWrite(block, &present, kLayerSize);  // overwrites in place: never grows, never fails
    }
}

}  // namespace tb58::status
