// The module's version record: the file version read from the module's own
// version resource, packed one component per byte.
#pragma once

#include <cstdint>

#include "Tb58Wk31Resources.h"

namespace tb58::frame {

constexpr uint32_t kFixedVersion1 = 0x02000100u;  // 2.0.1.0
constexpr uint32_t kFixedVersion2 = 0x03060000u;  // 3.6.0.0
constexpr uint32_t kModuleFileNameCapacity = 260;

// The packed form of a file version given as its two double words (major
// and minor in the most significant one): ((major << 8 | minor) << 8 |
// third) << 8 | fourth.  Components above 255 are not masked and overlap
// the next byte.
constexpr uint32_t PackFileVersion(uint32_t most_significant, uint32_t least_significant) {
    const uint32_t major = most_significant >> 16;
    const uint32_t minor = most_significant & 0xFFFFu;
    const uint32_t third = least_significant >> 16;
    const uint32_t fourth = least_significant & 0xFFFFu;
    return ((((major << 8) | minor) << 8 | third) << 8) | fourth;
}

// Fills info (dwSize already checked to be at least 32): clears the words
// from offset 4 on, reads the module's file version, writes the fixed
// words.  Returns 0, or the last error of the system call that failed: the
// module's file name (also when it does not fit 260 characters:
// ERROR_INSUFFICIENT_BUFFER), the version resource's size, the work block,
// reading or querying the resource.  A read or query that fails without a
// last error leaves the file version 0 and succeeds.
uint32_t FillDllVersion(DllVersionInfo* info);

}  // namespace tb58::frame
