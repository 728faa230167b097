// The ANSI text functions.  Texts are 8-bit and zero-terminated; the library
// uses lstrcmpA only to test ASCII keywords for equality and CharUpperA only
// on language codes, so comparison is by byte value and upper-casing is ASCII.
#include <cstring>

#include "platform/win32_api.h"

LPSTR lstrcpyA(LPSTR dst, LPCSTR src) {
    if (dst == nullptr || src == nullptr) return nullptr;
    return std::strcpy(dst, src);
}

// Copies at most max_count - 1 characters and always terminates (for
// max_count > 0), as the Windows function does.
LPSTR lstrcpynA(LPSTR dst, LPCSTR src, int max_count) {
    if (dst == nullptr || src == nullptr || max_count <= 0) return nullptr;
    int i = 0;
    for (; i < max_count - 1 && src[i] != '\0'; ++i) dst[i] = src[i];
    dst[i] = '\0';
    return dst;
}

LPSTR lstrcatA(LPSTR dst, LPCSTR src) {
    if (dst == nullptr || src == nullptr) return nullptr;
    return std::strcat(dst, src);
}

int lstrlenA(LPCSTR text) { return text == nullptr ? 0 : static_cast<int>(std::strlen(text)); }

int lstrcmpA(LPCSTR a, LPCSTR b) {
    if (a == nullptr) a = "";
    if (b == nullptr) b = "";
    const int r = std::strcmp(a, b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

LPSTR CharUpperA(LPSTR text) {
    if (text == nullptr) return nullptr;
    for (char* p = text; *p != '\0'; ++p) {
        if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
    }
    return text;
}
