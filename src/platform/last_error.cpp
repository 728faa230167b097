// The calling thread's last-error value.
#include "platform/win32_api.h"

namespace {
thread_local uint32_t last_error = 0;
}

extern "C" {

TB58WK31_API uint32_t GetLastError(void) { return last_error; }

TB58WK31_API void SetLastError(uint32_t code) { last_error = code; }

}  // extern "C"
