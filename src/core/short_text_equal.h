// Comparing two short texts (keywords, answers, arguments) without a call:
// equal lengths, then the bytes in overlapping 8- or 4-byte loads that
// never reach past either text.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace tb58 {

inline bool ShortTextEqual(std::string_view a, std::string_view b) {
    const size_t n = a.size();
    if (n != b.size()) return false;
    const char* x = a.data();
    const char* y = b.data();
    if (n >= 8) {
        for (size_t at = 0; at + 8 < n; at += 8) {
            uint64_t u = 0;
            uint64_t v = 0;
            std::memcpy(&u, x + at, 8);
            std::memcpy(&v, y + at, 8);
            if (u != v) return false;
        }
        uint64_t u = 0;
        uint64_t v = 0;
        std::memcpy(&u, x + n - 8, 8);
        std::memcpy(&v, y + n - 8, 8);
        return u == v;
    }
    if (n >= 4) {
        uint32_t u = 0;
        uint32_t v = 0;
        uint32_t s = 0;
        uint32_t t = 0;
        std::memcpy(&u, x, 4);
        std::memcpy(&v, y, 4);
        std::memcpy(&s, x + n - 4, 4);
        std::memcpy(&t, y + n - 4, 4);
        return u == v && s == t;
    }
    for (size_t at = 0; at < n; ++at) {
        if (x[at] != y[at]) return false;
    }
    return true;
}

}  // namespace tb58
