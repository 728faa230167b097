// Loading one string resource by id in the current display language,
// converted to the language's ANSI code page.
#pragma once

#include <cstdint>

#include "platform/win32_api.h"

namespace tb58::frame {

// Writes the text of string id in the current language into buffer
// (capacity bytes), converted and zero-terminated.  A text that does not fit
// is cut at a character boundary (never inside a double-byte character) and
// still terminated.  An id whose string block exists but which has no text
// of its own gives the empty text and 0.
// Returns 0; TB58_ERROR_UNKNOWN_LOCALE when the language has no code page;
// TB58_ERROR_NOT_FOUND when there is no string block for the id or a work
// allocation fails; ERROR_INVALID_PARAMETER for a null buffer or a capacity
// below 1 (nothing is written then).
uint32_t LoadLocalizedString(uint32_t id, char* buffer, int32_t capacity);

// Converts units UTF-16 units (not counting a terminator) into out, a buffer
// of capacity >= 1 bytes, in code page; cuts the text at a character
// boundary where it does not fit and always terminates it.  A conversion the
// system refuses leaves the empty text.
void ConvertToCodePage(UINT code_page, const WideUnit* text, int units, char* out, int capacity);

}  // namespace tb58::frame
