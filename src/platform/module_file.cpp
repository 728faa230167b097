// GetModuleFileNameA: the full path of a module, found with dladdr from the
// module's load address (the handle); a null handle names the program.
#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

#include "platform/win32_api.h"

namespace {

std::string ModulePath(HMODULE module) {
    if (module != nullptr) {
        Dl_info info{};
        if (dladdr(module, &info) != 0 && info.dli_fname != nullptr && info.dli_fname[0] == '/') {
            return info.dli_fname;
        }
    }
    // The program itself (dladdr names it only by what it was started as).
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return {};
    return std::string(path, static_cast<size_t>(length));
}

}  // namespace

// Returns the length of the path without its terminator.  A path that does
// not fit is cut to capacity - 1 characters, terminated, and reported with
// the result capacity and ERROR_INSUFFICIENT_BUFFER, as on Windows.
DWORD GetModuleFileNameA(HMODULE module, LPSTR out, DWORD capacity) {
    if (out == nullptr || capacity == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::string path;
    try {
        path = ModulePath(module);
    } catch (...) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    if (path.empty()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (path.size() >= capacity) {
        std::memcpy(out, path.data(), capacity - 1);
        out[capacity - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return capacity;
    }
    std::memcpy(out, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}
