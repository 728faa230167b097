// Which engine status codes are errors.  Both the device ID parser (the
// error flag of the record) and the status texts ask, so the rule lives
// here, below both.
#pragma once

#include <cstdint>

namespace tb58 {

// True for 10002 and for 40001-49999 except 40342 and 40440-40443.
constexpr bool IsErrorStatusCode(uint32_t code) {
    if (code == 10002) return true;
    if (code < 40001 || code > 49999) return false;
    return code != 40342 && (code < 40440 || code > 40443);
}

}  // namespace tb58
