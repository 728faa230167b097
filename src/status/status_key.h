// Status codes against the keys of the status tables.  A key is written as
// the code's unsigned decimal text, where a lowercase letter stands for any
// one digit ("410yy": 41000 to 41099).  Every key of the tables is digits
// followed by such letters, so it is compiled, when the table is built, into
// the range of codes it covers, and a code is compared with it as a number.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tb58::status {

// A key compiled for comparison with codes: a key of digits followed by
// wildcard letters ("410yy") is the range of codes whose decimal text has
// the key's length and its digits in front ([41000, 41099]).
struct StatusKeyPattern {
    uint32_t low = 0;
    uint32_t high = 0;
    uint8_t length = 0;
    bool wildcard = false;  // ends in wildcard letters
    bool numeric = false;   // the key has that form; low/high/length describe it
};

constexpr StatusKeyPattern CompileStatusKey(const char* key) {
    StatusKeyPattern pattern;
    uint64_t low = 0;
    uint64_t high = 0;
    std::size_t length = 0;
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

// The key of a table row.  The tables are constant-initialized (constinit),
// so a key of another form stops the build here.
constexpr StatusKeyPattern CompileTableKey(const char* key) {
    const StatusKeyPattern pattern = CompileStatusKey(key);
    if (!pattern.numeric) throw "a status key is digits followed by wildcard letters";
    return pattern;
}

// A code prepared for comparison with keys: its value and the number of
// digits of its decimal text.
struct StatusCode {
    explicit constexpr StatusCode(uint32_t code) : value(code) {
        for (uint32_t rest = code / 10; rest != 0; rest /= 10) ++digits;
    }
    uint32_t value;
    uint8_t digits = 1;
};

// How a key is held against a code: equal to it (a key without wildcards
// that is the code's text), or covering it (equal, or its digits in front
// with the right length).
enum class KeyMatch : uint8_t { kEqual, kCovering };

constexpr bool KeyMatchesCode(const StatusKeyPattern& key, StatusCode code, KeyMatch how) {
    if (!key.numeric) return false;
    if (how == KeyMatch::kEqual) return !key.wildcard && key.low == code.value;
    return key.length == code.digits && key.low <= code.value && code.value <= key.high;
}

// The rows of table (ended by a row with a null key) whose key matches code
// the given way, in table order: fn(row) for each, until fn returns false.
template <typename Row, typename Fn>
void ForEachRowMatching(const Row* table, StatusCode code, KeyMatch how, Fn fn) {
    for (const Row* row = table; row->key != nullptr; ++row) {
        if (KeyMatchesCode(row->pattern, code, how) && !fn(*row)) return;
    }
}

// The rows a code selects in a status table: the rows whose key equals the
// code, in table order, or, when there is none, the rows whose key covers it
// with wildcards, in table order.  fn(row) for each, until fn returns
// false.  Every status table is read this way.
template <typename Row, typename Fn>
void ForEachMatchingRow(const Row* table, uint32_t code, Fn fn) {
    if (table == nullptr) return;
    const StatusCode key(code);
    // One walk for the equal rows that also notes the first covering one;
    // the covering rows are walked only when no row was equal, from there.
    bool equal_seen = false;
    const Row* first_covering = nullptr;
    for (const Row* row = table; row->key != nullptr; ++row) {
        if (KeyMatchesCode(row->pattern, key, KeyMatch::kEqual)) {
            equal_seen = true;
            if (!fn(*row)) return;
        } else if (!equal_seen && first_covering == nullptr && KeyMatchesCode(row->pattern, key, KeyMatch::kCovering)) {
            first_covering = row;
        }
    }
    if (equal_seen || first_covering == nullptr) return;
    ForEachRowMatching(first_covering, key, KeyMatch::kCovering, fn);
}

}  // namespace tb58::status
