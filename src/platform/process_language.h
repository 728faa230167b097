// The language that stands for the user's default (0x0400) on systems other
// than Windows: the language of the process's locale, taken from LC_ALL,
// LC_MESSAGES or LANG (the first one set), else English.
#pragma once

#include "platform/win32_api.h"

namespace tb58::platform {

// The Windows language id of a POSIX locale name such as "de_DE.UTF-8";
// 0 when the language is not one the platform layer knows.
LANGID LanguageOfLocaleName(const char* locale_name);

// The process's language as described above (never 0).
LANGID ProcessLanguage();

// language itself, or the process's language for the default identifiers
// (0x0400 user default, 0x0800 system default, 0 neutral).
LANGID ResolveLanguage(LANGID language);

}  // namespace tb58::platform
