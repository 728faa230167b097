// The tables of the status picture: for the main body and each option with
// a picture, status records that map a status code to up to twelve layer
// placements.
#pragma once

#include <cstddef>
#include <cstdint>

#include "Tb58Wk31Picture.h"
#include "status/status_key.h"

namespace tb58::status {

constexpr size_t kMaxPlacements = 12;
constexpr size_t kLayerNameCapacity = sizeof(BitmapLayer::szName);  // 32, terminator included

// The key of each table's default record, used when no other key matches.
inline constexpr const char* kDefaultBitmapKey = "STATUS_DEFAULT_BMP";

// A placement of a table: a named bitmap at (x, y) on a layer, raster
// operation 0 (set when the layers are ordered).
template <size_t N>
constexpr BitmapLayer Place(const char (&name)[N], int32_t x, int32_t y, uint8_t layer) {
    static_assert(N <= kLayerNameCapacity, "a bitmap name has at most 31 characters");
    BitmapLayer placement{};
    for (size_t i = 0; i + 1 < N; ++i) placement.szName[i] = name[i];
    placement.x = x;
    placement.y = y;
    placement.bLayer = layer;
    return placement;
}

// A status record: a key and up to twelve placements, taken in order up to
// the first with an empty name.  Records that carry the same placements
// share one constant list.  The key text is kept as written (a code as
// unsigned decimal, a wildcard key such as "461yy", or kDefaultBitmapKey);
// every key but the default is compiled (status_key.h) when the table is
// built.  A record with a null key ends a table.
struct StatusBitmapRecord {
    template <size_t N>
    constexpr StatusBitmapRecord(const char* key_text, const BitmapLayer (&list)[N])
        : key(key_text), placements(list), count(static_cast<uint8_t>(N)),
          is_default(key_text != nullptr && SameKey(key_text, kDefaultBitmapKey)),
          pattern(key_text == nullptr || SameKey(key_text, kDefaultBitmapKey) ? StatusKeyPattern{}
                                                                              : CompileTableKey(key_text)) {
        static_assert(N <= kMaxPlacements, "a record places at most twelve bitmaps");
    }
    constexpr StatusBitmapRecord(std::nullptr_t) : key(nullptr), placements(nullptr), count(0), is_default(false) {}

    const char* key;
    const BitmapLayer* placements;
    uint8_t count;
    bool is_default;
    StatusKeyPattern pattern;

private:
    static constexpr bool SameKey(const char* a, const char* b) {
        for (; *a != '\0' && *a == *b; ++a, ++b) {
        }
        return *a == *b;
    }
};

// The end of a table.
inline constexpr StatusBitmapRecord kEndOfBitmapTable{nullptr};

// Device keys of the index.
constexpr int16_t kMainBodyDevice = -2;
constexpr int16_t kEndOfDeviceIndex = -1;

struct DeviceBitmapIndexEntry {
    int16_t device;                     // kMainBodyDevice, an option code, or kEndOfDeviceIndex
    const StatusBitmapRecord* table;
};
static_assert(sizeof(DeviceBitmapIndexEntry) == 16);

extern const DeviceBitmapIndexEntry kDeviceBitmapIndex[];

}  // namespace tb58::status
