// The language codes PatSetLocale accepts.
#pragma once

#include <cstdint>

namespace tb58::frame {

struct LocaleCode {
    const char* code;  // upper-case code text; nullptr ends the table
    uint16_t primary;  // primary language id
    uint16_t sublanguage;
};

// Searched in table order; ended by a row with a null code.
extern const LocaleCode kLocaleCodeTable[];

// The language id a row stands for: (sublanguage << 10) | primary.
constexpr uint16_t LanguageOf(const LocaleCode& row) {
    return static_cast<uint16_t>((row.sublanguage << 10) | row.primary);
}

}  // namespace tb58::frame
