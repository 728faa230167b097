// PatGetPalette.
#include "frame/palette.h"

#include <cstring>

#include "frame/export_frame.h"

namespace tb58::frame {

uint32_t CopyPalette(const PaletteEntry* table, PaletteInfo* palette, uint32_t* size) {
    uint32_t count = 0;
    while (table[count].bFlags != kPaletteEnd) ++count;
    if (count == 0) return TB58_ERROR_NO_PALETTE;
    const uint64_t needed = TB58_PALETTE_SIZE(count);
    if (*size < needed) {
        *size = static_cast<uint32_t>(needed);
        return ERROR_INSUFFICIENT_BUFFER;
    }
    palette->wVersion = TB58_PALETTE_VERSION;
    palette->wCount = static_cast<uint16_t>(count);
    std::memcpy(palette->entries, table, size_t{count} * sizeof(PaletteEntry));
    return ERROR_SUCCESS;
}

}  // namespace tb58::frame

extern "C" TB58WK31_API int32_t PatGetPalette(PaletteInfo* palette, uint32_t* size) {
    using namespace tb58;
    if (size == nullptr || (*size != 0 && palette == nullptr)) return frame::Finish(ERROR_INVALID_PARAMETER);
    return frame::Finish(frame::CopyPalette(frame::kModelPalette, palette, size));
}
