// Maps from the library's own keys (message codes, place ids, option codes)
// to string resource ids, and the index through which they are found.
#pragma once

#include <cstdint>

namespace tb58::frame {

// Rows end with a row whose key is kStringIdMapEnd.  Keys need not be
// unique: the first row with a matching key wins.
struct StringIdMap {
    int32_t key;
    uint32_t string_id;
};

constexpr int32_t kStringIdMapEnd = -1;

// Rows end with a row whose group is 0.
struct StringIdMapIndexRow {
    int32_t group;
    uint8_t variant;
    const StringIdMap* map;
};

// Groups and variants of the index.
constexpr int32_t kGroupMessages = 1;           // status texts of the normal kinds
constexpr int32_t kGroupAlternateMessages = 2;  // status texts when bit 31 of the kind is set
constexpr int32_t kGroupPlaces = 3;
constexpr int32_t kGroupOptions = 4;
constexpr uint8_t kVariantShort = 1;  // short text (and the one variant of places and options)
constexpr uint8_t kVariantLong = 2;   // long text

extern const StringIdMapIndexRow kStringIdMapIndex[];

// The map of the first index row with this group and the low byte of
// variant; nullptr when there is none.
const StringIdMap* FindStringIdMap(int32_t group, uint32_t variant);

// Looks key up in map and loads the string it names in the current language
// into buffer.  Returns 0, or an error code with the empty text in buffer
// (as far as capacity allows): TB58_ERROR_NOT_FOUND for a null map, a zero
// capacity or a key without row; the load's own error otherwise.
uint32_t LoadMappedString(const StringIdMap* map, int32_t key, char* buffer, int32_t capacity);

}  // namespace tb58::frame
