// The tables of the status picture: for the main body and each option with
// a picture, status records that map a status code to up to twelve layer
// placements.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

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

// A status record: a key and its placements, those in use first; the
// placements after them are all zero.  The key text is kept as written (a
// code as unsigned decimal, a wildcard key such as "461yy", or
// kDefaultBitmapKey) and also compiled for fast comparison.  A record with
// a null key ends a table.
struct StatusBitmapRecord {
    constexpr StatusBitmapRecord(const char* key_text, std::initializer_list<BitmapLayer> layers)
        : key(key_text), placements{},
          pattern(key_text != nullptr ? CompileStatusKey(key_text) : StatusKeyPattern{}),
          is_default(key_text != nullptr && SameKey(key_text, kDefaultBitmapKey)) {
        // More than kMaxPlacements placements stop the build: the tables are
        // constant-initialized, and writing past the array is not a
        // constant expression.
        size_t i = 0;
        for (const BitmapLayer& layer : layers) placements[i++] = layer;
    }

    const char* key;
    BitmapLayer placements[kMaxPlacements];
    StatusKeyPattern pattern;
    bool is_default;

private:
    static constexpr bool SameKey(const char* a, const char* b) {
        for (; *a != '\0' && *a == *b; ++a, ++b) {
        }
        return *a == *b;
    }
};
static_assert(offsetof(StatusBitmapRecord, key) == 0);
static_assert(offsetof(StatusBitmapRecord, placements) == 8);

// The end of a table.
inline constexpr StatusBitmapRecord kEndOfBitmapTable{nullptr, {}};

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
