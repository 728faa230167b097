#include "convert/tray_node.h"

#include "convert/device_name_tables.h"
#include "convert/pm_info_access.h"
#include "convert/pm_tables.h"
#include "core/chain_node.h"

namespace tb58::convert {
namespace {

constexpr uint32_t kAnyPaperSize = 2;
constexpr uint32_t kPaperSizeUnknownLength = 41;
constexpr uint32_t kDimensionTolerance = 2;

bool Within(uint32_t row_value, uint32_t value) {
    // Unsigned on purpose: the bounds wrap for values near 0 and 0xFFFFFFFF,
    // which then match nothing.
    const uint32_t tolerance = IsSupplied(value) ? kDimensionTolerance : 0;
    return value - tolerance <= row_value && row_value <= value + tolerance;
}

uint32_t TrayCode(const char* name) {
    return IsSupplied(name) ? FindDeviceName(kTrayNames, name)->code : 0;
}

struct TrayValues {
    const char* name;
    uint32_t state;
    uint32_t dimension1;
    uint32_t dimension2;
    uint32_t attributes;
    uint32_t media;
    uint32_t stored_attributes;
};

TrayInfoNode* NewTrayNode(const TrayValues& values) {
    auto* node = AllocNode<TrayInfoNode>();
    if (node == nullptr) return nullptr;
    node->wTrayCode = static_cast<uint16_t>(TrayCode(values.name));
    node->wPaperSize = static_cast<uint16_t>(PaperSizeCode(values.dimension1, values.dimension2, values.attributes));
    node->wPaperLevel = static_cast<uint16_t>(PaperLevel(values.state));
    node->wMediaCode = static_cast<uint16_t>(values.media);
    node->dwAttributes = values.stored_attributes;
    return node;
}

}  // namespace

uint32_t PaperSizeCode(uint32_t dimension1, uint32_t dimension2, uint32_t attributes) {
    if (IsSupplied(attributes) && (attributes & PMINFO_TRAY_ATTR_ANY_SIZE) != 0) return kAnyPaperSize;
    if (!IsSupplied(dimension2)) return kPaperSizeUnknownLength;
    const PaperDimensionRow* row = kPaperDimensions;
    const PaperDimensionRow* last = kPaperDimensions + kPaperDimensionRows - 1;
    while (row != last && !(Within(row->dimension1, dimension1) && Within(row->dimension2, dimension2))) ++row;
    return row->code;
}

uint32_t PaperLevel(uint32_t state) {
    if (!IsSupplied(state)) return 100;
    if ((state & 0x2) != 0 || (state & 0x10) != 0) return 0;  // empty
    if ((state & 0x100) != 0) return 10;
    if ((state & 0x200) != 0) return 25;
    if ((state & 0x400) != 0) return 50;
    if ((state & 0x800) != 0) return 75;
    return 100;
}

uint32_t MediaCode(uint32_t media_bit, bool has_second, const uint32_t* second_media_bit, const char* media_name) {
    if (!IsSupplied(media_bit)) {
        return IsSupplied(media_name) ? LookupCodeByName(media_name, kMediaNames) : 0;
    }
    if (has_second && (media_bit & PMINFO_MEDIA_SECOND) != 0) {
        // A second media bit that is not supplied finds the end row.
        const uint32_t second = IsSupplied(second_media_bit) ? *second_media_bit : kValueTableEnd;
        return LookupCodeByValue(kSecondMediaBits, second);
    }
    return LookupCodeByValue(kMediaBits, media_bit);
}

TrayInfoNode* BuildTrayNode(const PMTrayEntryA& entry) {
    const uint32_t attributes = entry.dwAttributes;
    return NewTrayNode({entry.pTrayName, entry.dwState, entry.dwDimension1, entry.dwDimension2, attributes,
                        MediaCode(entry.dwMediaBit, true, entry.pSecondMediaBit, entry.pMediaName),
                        IsSupplied(attributes) ? attributes & ~PMINFO_TRAY_ATTR_ANY_SIZE : attributes});
}

TrayInfoNode* BuildTrayNode(const PMTrayEntryB& entry) {
    return NewTrayNode({entry.pTrayName, entry.dwState, entry.dwDimension1, entry.dwDimension2, entry.dwAttributes,
                        MediaCode(entry.dwMediaBit, false, nullptr, entry.pMediaName), entry.dwAttributes});
}

}  // namespace tb58::convert
