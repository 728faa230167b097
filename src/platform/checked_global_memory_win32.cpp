// Windows: the library's global allocations pass the test switch before they
// reach KERNEL32.
#include "platform/win32_api.h"

#undef GlobalAlloc
#undef GlobalReAlloc

namespace tb58::platform {

HGLOBAL CheckedGlobalAlloc(UINT flags, SIZE_T bytes) {
    if (AllocationShouldFail()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return GlobalAlloc(flags, bytes);
}

HGLOBAL CheckedGlobalReAlloc(HGLOBAL block, SIZE_T bytes, UINT flags) {
    if (AllocationShouldFail()) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return GlobalReAlloc(block, bytes, flags);
}

}  // namespace tb58::platform
