// The module's resources on systems other than Windows: a directory of
// (type, name, language) -> bytes, generated at build time from the same
// resource scripts that the Windows resource compiler reads.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tb58::platform {

struct ResourceEntry {
    uint16_t type_id;       // RT_STRING, RT_VERSION, RT_BITMAP, ...
    uint16_t name_id;       // integer name, 0 when the name is a text
    const char* name;       // upper-case name text, or nullptr
    uint16_t language;      // Windows language id
    const uint8_t* data;    // the resource in its Windows binary layout
    uint32_t size;
};

// Sorted by type, then integer names before text names, then the name
// (integer, or text compared byte by byte); the languages of one resource
// stand in the order of the scripts.
extern const ResourceEntry kResourceDirectory[];
extern const size_t kResourceDirectorySize;

}  // namespace tb58::platform
