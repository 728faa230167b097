// Texts for people: the library's texts arrive in the ANSI code page of the
// display language and are shown as UTF-8.  This is the one build-specific
// piece of tb58mon: iconv on Linux, the Win32 conversions on Windows.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tb58mon {

// The ANSI code page of a language code as PatSetLocale accepts it (any
// case): 932 for JP, 1250 for CS, HU and PL, 1252 for the others.
uint32_t CodePageOfLanguage(std::string_view code);

// The display languages the monitor offers, by the codes PatSetLocale
// takes, in the order it offers them.
std::span<const std::string_view> LanguageCodes();

// The code of a language as PatSetLocale takes it ("jp" -> "JP"); empty
// when the monitor does not offer it.
std::string LanguageCode(std::string_view text);

// The text converted from code page to UTF-8.  A byte sequence the code page
// does not define becomes a replacement character ('?' with iconv, the
// system's default character on Windows).
std::string AnsiToUtf8(std::string_view text, uint32_t code_page);

// Lets the terminal show UTF-8 (the Windows console's output code page).
void PrepareTerminal();

}  // namespace tb58mon
