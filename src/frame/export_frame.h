// What every export has in common: after its argument checks and its one
// worker, the outcome becomes the thread's last error (0, set explicitly, on
// success) and a 1/0 or pointer/null result.
#pragma once

#include <cstdint>
#include <string_view>

#include "Tb58Wk31.h"
#include "platform/win32_api.h"

namespace tb58::frame {

// Result of a 1/0 export whose worker returned code.
inline int32_t Finish(uint32_t code) {
    SetLastError(code);
    return code == TB58_ERROR_SUCCESS ? 1 : 0;
}

// Result of a pointer export: result on success, null with code on failure.
template <typename T>
T* FinishPointer(uint32_t code, T* result) {
    SetLastError(code);
    return code == TB58_ERROR_SUCCESS ? result : nullptr;
}

// The text-result protocol: *size holds the caller's capacity on entry and
// receives the needed size (length + 1) in every case.  The text is copied
// with its terminator only when buffer is not null and the capacity is
// large enough; otherwise the result is ERROR_INSUFFICIENT_BUFFER (so a
// null buffer asks for the size).  size must not be null.
uint32_t DeliverText(std::string_view text, char* buffer, uint32_t* size);

}  // namespace tb58::frame
