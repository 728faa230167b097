// Status codes are compared with the tables as their unsigned decimal text,
// the key text; table keys may hold lowercase letters that stand for any
// one character ("410yy").
#pragma once

#include <cstdint>
#include <string_view>

namespace tb58::status {

// Room for the longest key text (4294967295) and its terminator.
constexpr size_t kStatusKeyCapacity = 16;

// The key text of code, as 32-bit unsigned decimal (-254 is "4294967042").
std::string_view FormatStatusKey(uint32_t code, char (&buffer)[kStatusKeyCapacity]);

// True when key matches text: same length, and at each position the same
// character or a lowercase letter a-z in the key.
bool MatchStatusKey(std::string_view text, std::string_view key);

// The same for zero-terminated texts, without measuring them first: the
// table walks compare every row, so these stay inline.
inline bool MatchStatusKey(const char* text, const char* key) {
    for (; *key != '\0'; ++key, ++text) {
        if (*text == '\0') return false;
        if (*key != *text && !(*key >= 'a' && *key <= 'z')) return false;
    }
    return *text == '\0';
}

// A key compiled for fast comparison with codes: a key of digits followed by
// wildcard letters ("410yy") is the range of codes whose decimal text has
// the key's length and its digits in front ([41000, 41099]).  Keys of any
// other shape keep to text comparison.
struct StatusKeyPattern {
    uint32_t low = 0;
    uint32_t high = 0;
    uint8_t length = 0;
    bool wildcard = false;  // ends in wildcard letters
    bool numeric = false;   // low/high/length describe the key
};

constexpr StatusKeyPattern CompileStatusKey(const char* key) {
    StatusKeyPattern pattern;
    uint64_t low = 0;
    uint64_t high = 0;
    size_t length = 0;
    bool seen_wildcard = false;
    for (; key[length] != '\0'; ++length) {
        const char c = key[length];
        if (c >= '0' && c <= '9' && !seen_wildcard) {
            low = low * 10 + static_cast<uint64_t>(c - '0');
            high = high * 10 + static_cast<uint64_t>(c - '0');
        } else if (c >= 'a' && c <= 'z') {
            seen_wildcard = true;
            low = low * 10;
            high = high * 10 + 9;
        } else {
            return pattern;  // a digit after a wildcard, or another character
        }
    }
    // A leading zero never appears in a code's text; nor do 11 digits.
    if (length == 0 || length > 10 || key[0] == '0' || high > 0xFFFFFFFFull) return pattern;
    pattern.low = static_cast<uint32_t>(low);
    pattern.high = static_cast<uint32_t>(high);
    pattern.length = static_cast<uint8_t>(length);
    pattern.wildcard = seen_wildcard;
    pattern.numeric = true;
    return pattern;
}

// A code with its key text, prepared once for a table walk.
struct StatusKeyText {
    explicit StatusKeyText(uint32_t code);
    uint32_t code;
    uint8_t length;
    char text[kStatusKeyCapacity];
};

// Exact equality of two key texts.
inline bool SameStatusKey(const char* text, const char* key) {
    for (; *key != '\0'; ++key, ++text) {
        if (*key != *text) return false;
    }
    return *text == '\0';
}

// The exact pass: the key text equals the code's text.
inline bool KeyEquals(const StatusKeyPattern& pattern, const char* key, const StatusKeyText& code) {
    if (pattern.numeric) return !pattern.wildcard && pattern.length == code.length && pattern.low == code.code;
    return SameStatusKey(code.text, key);
}

// The wildcard pass: MatchStatusKey of the code's text and the key.
inline bool KeyMatches(const StatusKeyPattern& pattern, const char* key, const StatusKeyText& code) {
    if (pattern.numeric) {
        return pattern.length == code.length && code.code >= pattern.low && code.code <= pattern.high;
    }
    return MatchStatusKey(code.text, key);
}

}  // namespace tb58::status
