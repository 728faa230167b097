#include "status/picture/bitmap_order.h"

#include <cstring>

#include "Tb58Wk31Picture.h"
#include "status/picture/bitmap_layers.h"

namespace tb58::status {
namespace {

constexpr uint8_t kLastLayer = 255;
constexpr char kMaskSuffix[] = "_B";
constexpr size_t kMaskSuffixLength = sizeof kMaskSuffix - 1;

const BitmapLayer* LayerAt(const MemBlock* block, uint32_t index) {
    return static_cast<const BitmapLayer*>(block->data) + index;
}

// The smallest layer number above previous and below 255, or 255.
uint8_t NextLayerNumber(const MemBlock* block, uint8_t previous) {
    uint8_t next = kLastLayer;
    const uint32_t count = LayerCount(block);
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t n = LayerAt(block, i)->bLayer;
        if (n > previous && n < next) next = n;
    }
    return next;
}

bool Append(MemBlock* output, const BitmapLayer& layer) {
    MemBlockSeek(output, 0, kSeekEnd);
    return MemBlockWrite(output, &layer, kLayerSize);
}

// Appends one record in its drawing form; false on failure.
bool AppendDrawn(MemBlock* output, BitmapLayer layer) {
    if (layer.bLayer % 2 != 0) {
        layer.dwRop = TB58_ROP_SRCCOPY;
        return Append(output, layer);
    }
    const size_t length = strnlen(layer.szName, kLayerNameCapacity);
    if (length + kMaskSuffixLength >= kLayerNameCapacity) return false;
    BitmapLayer mask = layer;
    std::memset(mask.szName, 0, sizeof mask.szName);
    std::memcpy(mask.szName, layer.szName, length);
    std::memcpy(mask.szName + length, kMaskSuffix, kMaskSuffixLength);
    mask.dwRop = TB58_ROP_SRCAND;
    if (!Append(output, mask)) return false;
    layer.dwRop = TB58_ROP_SRCPAINT;
    return Append(output, layer);
}

}  // namespace

MemBlock* OrderLayers(MemBlock* block) {
    MemBlockPtr output(CreateLayerBlock());
    if (!output) return nullptr;
    const uint32_t count = LayerCount(block);
    uint8_t previous = 0;
    for (;;) {
        const uint8_t current = NextLayerNumber(block, previous);
        for (uint32_t i = 0; i < count; ++i) {
            BitmapLayer layer;
            std::memcpy(&layer, LayerAt(block, i), kLayerSize);
            if (layer.bLayer == current && !AppendDrawn(output.get(), layer)) return nullptr;
        }
        if (current == kLastLayer) return output.release();
        previous = current;
    }
}

}  // namespace tb58::status
