// The version resource functions, for the one file that has a version
// resource here: the module that holds this code.  Any other existing file
// answers ERROR_RESOURCE_TYPE_NOT_FOUND, as a Windows file without version
// resource does; a missing file ERROR_FILE_NOT_FOUND.
#include <sys/stat.h>

#include <cstring>

#include "platform/module_of_address.h"
#include "platform/win32_api.h"

namespace {

constexpr DWORD kFixedFileInfoSignature = 0xFEEF04BDu;

bool SameFile(const char* a, const char* b) {
    struct stat sa {};
    struct stat sb {};
    return stat(a, &sa) == 0 && stat(b, &sb) == 0 && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// The version resource of this module, or null with the last error set.
HRSRC OwnVersionResource(LPCSTR file) {
    struct stat st {};
    if (file == nullptr || stat(file, &st) != 0) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    char own[4096];
    HMODULE self = tb58::platform::ModuleOfAddress(reinterpret_cast<const void*>(&OwnVersionResource));
    const DWORD length = GetModuleFileNameA(self, own, sizeof own);
    if (length == 0 || length >= sizeof own || !SameFile(file, own)) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    HRSRC resource = FindResourceA(self, MAKEINTRESOURCEA(1), RT_VERSION);
    if (resource == nullptr) SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
    return resource;
}

}  // namespace

DWORD GetFileVersionInfoSizeA(LPCSTR file, DWORD* handle) {
    if (handle != nullptr) *handle = 0;
    HRSRC resource = OwnVersionResource(file);
    return resource == nullptr ? 0 : SizeofResource(nullptr, resource);
}

BOOL GetFileVersionInfoA(LPCSTR file, DWORD, DWORD capacity, LPVOID out) {
    if (out == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HRSRC resource = OwnVersionResource(file);
    if (resource == nullptr) return FALSE;
    const DWORD size = SizeofResource(nullptr, resource);
    const void* data = LockResource(LoadResource(nullptr, resource));
    // Windows copies as much as fits.
    std::memcpy(out, data, size < capacity ? size : capacity);
    return TRUE;
}

// Answers the root block "\" only: the fixed file information that follows
// the VS_VERSIONINFO header (length, value length, type, the key
// "VS_VERSION_INFO" in UTF-16 and padding to a 32-bit boundary).
BOOL VerQueryValueA(LPCVOID block, LPCSTR sub_block, LPVOID* value, UINT* length) {
    if (block == nullptr || sub_block == nullptr || value == nullptr || length == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (std::strcmp(sub_block, "\\") != 0) {
        SetLastError(ERROR_RESOURCE_TYPE_NOT_FOUND);
        return FALSE;
    }
    const auto* bytes = static_cast<const uint8_t*>(block);
    uint16_t total = 0;
    uint16_t value_length = 0;
    std::memcpy(&total, bytes, 2);
    std::memcpy(&value_length, bytes + 2, 2);
    constexpr size_t kKeyEnd = 6 + sizeof(u"VS_VERSION_INFO");  // header + key with terminator
    constexpr size_t kValueOffset = (kKeyEnd + 3) & ~size_t{3};
    if (value_length < sizeof(VS_FIXEDFILEINFO) || total < kValueOffset + sizeof(VS_FIXEDFILEINFO)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return FALSE;
    }
    DWORD signature = 0;
    std::memcpy(&signature, bytes + kValueOffset, 4);
    if (signature != kFixedFileInfoSignature) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return FALSE;
    }
    *value = const_cast<uint8_t*>(bytes + kValueOffset);
    *length = sizeof(VS_FIXEDFILEINFO);
    return TRUE;
}
