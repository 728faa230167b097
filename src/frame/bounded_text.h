// Appending 8-bit texts to a fixed buffer without ever writing past it: what
// does not fit is cut at a character boundary of the text's code page (never
// half a double-byte character), and the buffer stays terminated.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/win32_api.h"

namespace tb58::frame {

// The ANSI code page of the current display language; 0 when the system has
// none (texts are then cut by bytes).
UINT CurrentAnsiCodePage();

// The longest prefix of text, at most limit bytes, that ends on a character
// boundary in code_page.
size_t CharacterPrefix(std::string_view text, size_t limit, UINT code_page);

class BoundedText {
public:
    // out must hold capacity >= 1 bytes; it is made the empty text.
    BoundedText(char* out, size_t capacity, UINT code_page);

    // Appends as much of text as fits; true when all of it did.
    bool Append(std::string_view text);

    // Appends text only when all of it fits; true when it did.
    bool AppendWhole(std::string_view text);

    size_t length() const { return length_; }
    std::string_view view() const { return {out_, length_}; }

private:
    char* out_;
    size_t capacity_;
    size_t length_ = 0;
    UINT code_page_;
};

}  // namespace tb58::frame
