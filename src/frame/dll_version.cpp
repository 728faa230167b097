// PatGetDllVersion.
#include "frame/dll_version.h"

#include <cstring>

#include "core/global_block.h"
#include "frame/export_frame.h"
#include "frame/module_instance.h"

namespace tb58::frame {

uint32_t FillDllVersion(DllVersionInfo* info) {
    info->dwFileVersion = 0;
    info->dwFixedVersion1 = 0;
    info->dwFixedVersion2 = 0;
    std::memset(info->dwReserved, 0, sizeof info->dwReserved);

    // Each call's last error is taken at once, before anything else can
    // change it.
    char path[kModuleFileNameCapacity];
    const DWORD length = GetModuleFileNameA(ModuleInstance(), path, kModuleFileNameCapacity);
    uint32_t error = GetLastError();
    if (length == 0) return error;
    // A name cut to fit the buffer names another file (and is not
    // terminated on older systems): the version cannot be read from it.
    if (length >= kModuleFileNameCapacity) return ERROR_INSUFFICIENT_BUFFER;

    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    error = GetLastError();
    if (size == 0) return error;
    GlobalBlock block = AllocateGlobal(size, false);
    error = GetLastError();
    if (!block) return error;

    BOOL last_result = GetFileVersionInfoA(path, handle, size, block.get());
    uint32_t last_error = GetLastError();
    if (last_result == 1) {
        void* value = nullptr;
        UINT value_length = 0;
        last_result = VerQueryValueA(block.get(), "\\", &value, &value_length);
        last_error = GetLastError();
        // The fixed file information is read only when it is all there.
        if (last_result == 1 && value != nullptr && value_length >= sizeof(VS_FIXEDFILEINFO)) {
            VS_FIXEDFILEINFO fixed{};
            std::memcpy(&fixed, value, sizeof fixed);
            info->dwFileVersion = PackFileVersion(fixed.dwFileVersionMS, fixed.dwFileVersionLS);
        }
    }
    block.reset();
    if (last_result == 0 && last_error != ERROR_SUCCESS) return last_error;
    info->dwFixedVersion1 = kFixedVersion1;
    info->dwFixedVersion2 = kFixedVersion2;
    return ERROR_SUCCESS;
}

}  // namespace tb58::frame

extern "C" TB58WK31_API int32_t PatGetDllVersion(DllVersionInfo* info) {
    using namespace tb58;
    if (info == nullptr || info->dwSize < TB58_DLL_VERSION_MIN_SIZE) return frame::Finish(ERROR_INVALID_PARAMETER);
    return frame::Finish(frame::FillDllVersion(info));
}
