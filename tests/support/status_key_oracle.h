// The status key rules as the tables write them, in text: a code's unsigned
// decimal text against a key whose lowercase letters stand for any one
// character.  The library compares compiled keys as numbers; the tests hold
// them against these rules.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tb58::test {

inline std::string StatusKeyText(uint32_t code) { return std::to_string(code); }

inline bool KeyTextMatches(std::string_view text, std::string_view key) {
    if (text.size() != key.size()) return false;
    for (size_t i = 0; i < key.size(); ++i) {
        const bool wildcard = key[i] >= 'a' && key[i] <= 'z';
        if (!wildcard && key[i] != text[i]) return false;
    }
    return true;
}

}  // namespace tb58::test
