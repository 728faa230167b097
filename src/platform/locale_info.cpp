// GetLocaleInfoA for the one value the library asks for: the ANSI code page
// of a language (LOCALE_IDEFAULTANSICODEPAGE), as decimal text.
#include <charconv>
#include <cstring>

#include "platform/process_language.h"
#include "platform/win32_api.h"

namespace {

// ANSI code page of a primary language; 0 for languages not known here.
unsigned AnsiCodePage(LANGID language) {
    switch (PRIMARYLANGID(language)) {
        case 0x05:  // Czech
        case 0x0E:  // Hungarian
        case 0x15:  // Polish
            return 1250;
        case 0x11:  // Japanese
            return 932;
        case 0x06: case 0x07: case 0x09: case 0x0A: case 0x0B: case 0x0C:
        case 0x10: case 0x13: case 0x14: case 0x16: case 0x1D:
            return 1252;
        default:
            return 0;
    }
}

}  // namespace

// Returns the length of the value including its terminator; with capacity 0
// only that length.  0 with ERROR_INVALID_FLAGS for any other value type,
// ERROR_INVALID_PARAMETER for an unknown language, ERROR_INSUFFICIENT_BUFFER
// when the value does not fit.
int GetLocaleInfoA(LCID locale, LCTYPE type, LPSTR data, int capacity) {
    if ((type & 0xFFFFu) != LOCALE_IDEFAULTANSICODEPAGE) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    const LANGID language = tb58::platform::ResolveLanguage(static_cast<LANGID>(locale & 0xFFFFu));
    const unsigned code_page = AnsiCodePage(language);
    if (code_page == 0 || capacity < 0 || (capacity > 0 && data == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    char text[16];
    const int length = static_cast<int>(std::to_chars(text, text + sizeof text, code_page).ptr - text) + 1;
    text[length - 1] = '\0';
    if (capacity == 0) return length;
    if (capacity < length) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(data, text, static_cast<size_t>(length));
    return length;
}
