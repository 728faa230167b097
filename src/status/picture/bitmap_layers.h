// The working layer block of the status picture: BitmapLayer records back
// to back in a MemBlock, in the order they were added.  No two records are
// identical (same name, x, y and layer number).
#pragma once

#include <cstdint>

#include "Tb58Wk31Picture.h"
#include "core/mem_block.h"
#include "status/picture/bitmap_tables.h"

namespace tb58::status {

constexpr uint32_t kLayerSize = sizeof(BitmapLayer);      // 48
constexpr uint32_t kLayerBlockStep = 20 * kLayerSize;     // 960

// A new, empty layer block (one step allocated), or null.
inline MemBlock* CreateLayerBlock() { return MemBlockCreate(kLayerBlockStep, 1); }

// Appends layer unless an identical one is present.  0, or
// ERROR_NOT_ENOUGH_MEMORY when the block cannot grow.
uint32_t AddLayer(MemBlock* block, const BitmapLayer& layer);

// Adds a layer named name at (x, y) with raster operation 0.  A name of 32
// characters or more gives TB58_ERROR_NOT_FOUND and adds nothing.
uint32_t AddNamedLayer(MemBlock* block, const char* name, int32_t x, int32_t y, uint8_t layer);

// Adds the record's placements in order, up to the first with an empty
// name; stops at the first failure and returns its code.  A null record
// adds nothing.
uint32_t AddRecordLayers(MemBlock* block, const StatusBitmapRecord* record);

// Removes every record with layer number n; the others keep their order.
void RemoveLayers(MemBlock* block, uint8_t n);

// Moves every record with layer number n by (dx, dy).
void ShiftLayers(MemBlock* block, uint8_t n, int32_t dx, int32_t dy);

// The number of records in the block.
inline uint32_t LayerCount(const MemBlock* block) { return MemBlockGetSize(block) / kLayerSize; }

}  // namespace tb58::status
