// Resource lookup over the generated resource directory.
//
// Language substitution when the wanted language has no resource of that
// type and name: the exact language, then any language with the same primary
// language, then English (0x0409), then the first language listed.  The
// default identifiers (0x0400, 0x0800, 0) stand for the process's language
// (see process_language.h).  The module handle is not examined: the directory
// is the one linked into the module that holds this code.
#include <cctype>
#include <cstring>

#include "platform/process_language.h"
#include "platform/resource_directory.h"
#include "platform/win32_api.h"

namespace {

using tb58::platform::kResourceDirectory;
using tb58::platform::kResourceDirectorySize;
using tb58::platform::ResourceEntry;

bool SameName(LPCSTR wanted, uint16_t id, const char* name) {
    if (IS_INTRESOURCE(wanted)) {
        return name == nullptr && id == static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(wanted));
    }
    if (name == nullptr) return false;
    // Resource names compare without regard to case.
    for (; *wanted != '\0' && *name != '\0'; ++wanted, ++name) {
        if (std::toupper(static_cast<unsigned char>(*wanted)) != static_cast<unsigned char>(*name)) {
            return false;
        }
    }
    return *wanted == '\0' && *name == '\0';
}

bool IsType(LPCSTR type, const ResourceEntry& entry) {
    return IS_INTRESOURCE(type) &&
           entry.type_id == static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(type));
}

HRSRC AsHandle(const ResourceEntry* entry) {
    return reinterpret_cast<HRSRC>(const_cast<ResourceEntry*>(entry));
}

const ResourceEntry* FromHandle(HRSRC handle) { return reinterpret_cast<const ResourceEntry*>(handle); }

HRSRC Find(LPCSTR type, LPCSTR name, WORD wanted_language) {
    if (type == nullptr || name == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const LANGID language = tb58::platform::ResolveLanguage(wanted_language);
    const ResourceEntry* same_primary = nullptr;
    const ResourceEntry* english = nullptr;
    const ResourceEntry* first = nullptr;
    bool type_seen = false;
    for (size_t i = 0; i < kResourceDirectorySize; ++i) {
        const ResourceEntry& entry = kResourceDirectory[i];
        if (!IsType(type, entry)) continue;
        type_seen = true;
        if (!SameName(name, entry.name_id, entry.name)) continue;
        if (entry.language == language) return AsHandle(&entry);
        if (same_primary == nullptr && PRIMARYLANGID(entry.language) == PRIMARYLANGID(language)) {
            same_primary = &entry;
        }
        if (english == nullptr && entry.language == 0x0409) english = &entry;
        if (first == nullptr) first = &entry;
    }
    const ResourceEntry* found = same_primary != nullptr ? same_primary : english;
    if (found == nullptr) found = first;
    if (found == nullptr) {
        SetLastError(type_seen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    return AsHandle(found);
}

}  // namespace

HRSRC FindResourceExA(HMODULE, LPCSTR type, LPCSTR name, WORD language) {
    return Find(type, name, language);
}

// No language given: the neutral language, which stands for the process's.
HRSRC FindResourceA(HMODULE, LPCSTR name, LPCSTR type) { return Find(type, name, LANG_NEUTRAL); }

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    if (resource == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return const_cast<uint8_t*>(FromHandle(resource)->data);
}

LPVOID LockResource(HGLOBAL loaded) { return loaded; }

DWORD SizeofResource(HMODULE, HRSRC resource) {
    if (resource == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return FromHandle(resource)->size;
}
