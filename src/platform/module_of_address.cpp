#include "platform/module_of_address.h"

#ifdef _WIN32

namespace tb58::platform {

HMODULE ModuleOfAddress(const void* address) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCSTR>(address), &module)) {
        return nullptr;
    }
    return module;
}

}  // namespace tb58::platform

#else

#include <dlfcn.h>

namespace tb58::platform {

HMODULE ModuleOfAddress(const void* address) {
    Dl_info info{};
    if (dladdr(address, &info) == 0) return nullptr;
    return info.dli_fbase;
}

}  // namespace tb58::platform

#endif
