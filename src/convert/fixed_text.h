// Copying a caller's text into a fixed-size text field: at most
// field_size - 1 bytes are read and copied, the field is always
// terminated, and the source is never read past its terminator or past
// what the field can take.
#pragma once

#include <cstddef>

namespace tb58::convert {

inline void CopyToField(char* field, size_t field_size, const char* text) {
    size_t length = 0;
    if (text != nullptr) {
        while (length + 1 < field_size && text[length] != '\0') {
            field[length] = text[length];
            ++length;
        }
    }
    field[length] = '\0';
}

template <size_t N>
void CopyToField(char (&field)[N], const char* text) {
    static_assert(N >= 1);
    CopyToField(field, N, text);
}

}  // namespace tb58::convert
