#pragma once

#include <cstdint>

namespace tb58::frame {

// Selects the display language named by code (not null): at most its first
// 9 characters, upper-cased, compared with the locale code table.  Returns 0,
// or TB58_ERROR_UNKNOWN_LOCALE with the language left as it was.
uint32_t SelectLocale(const char* code);

}  // namespace tb58::frame
