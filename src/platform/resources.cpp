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

// The key a resource is looked up by: an integer type, and an integer or
// text name (compared without regard to case; the directory's are upper-case).
struct Key {
    uint16_t type;
    LPCSTR name;
};

// The order of the directory: negative, 0 or positive as the entry stands
// before, at or after the key.
int Compare(const ResourceEntry& entry, const Key& key) {
    if (entry.type_id != key.type) return entry.type_id < key.type ? -1 : 1;
    const bool key_named = !IS_INTRESOURCE(key.name);
    const bool entry_named = entry.name != nullptr;
    if (entry_named != key_named) return entry_named ? 1 : -1;
    if (!key_named) {
        const auto id = static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(key.name));
        return entry.name_id == id ? 0 : entry.name_id < id ? -1 : 1;
    }
    for (const char *a = entry.name, *b = key.name;; ++a, ++b) {
        const auto x = static_cast<unsigned char>(*a);
        const auto y = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(*b)));
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
}

// The first entry not before the key.
size_t LowerBound(const Key& key) {
    size_t low = 0;
    size_t high = kResourceDirectorySize;
    while (low < high) {
        const size_t mid = low + (high - low) / 2;
        if (Compare(kResourceDirectory[mid], key) < 0) {
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    return low;
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
    // Only integer types are in the directory.
    const Key key{static_cast<uint16_t>(reinterpret_cast<ULONG_PTR>(type)), name};
    const bool type_known = IS_INTRESOURCE(type);
    const size_t type_start = type_known ? LowerBound(Key{key.type, MAKEINTRESOURCEA(0)}) : kResourceDirectorySize;
    const bool type_seen = type_start < kResourceDirectorySize && kResourceDirectory[type_start].type_id == key.type;
    const size_t start = type_seen ? LowerBound(key) : kResourceDirectorySize;
    for (size_t i = start; i < kResourceDirectorySize && Compare(kResourceDirectory[i], key) == 0; ++i) {
        const ResourceEntry& entry = kResourceDirectory[i];
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
