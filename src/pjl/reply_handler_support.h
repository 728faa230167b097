// What the reply handlers share: reading the next token as a view into the
// reply, cut as a token buffer of the dispatcher holds it (up to 32
// characters, trailing blanks dropped).
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "pjl/pjl_tokenizer.h"
#include "pjl/reply_dispatch.h"

namespace tb58::pjl {

struct Token {
    std::string_view text;
    uint32_t type = 0;
};

[[gnu::always_inline]] inline uint32_t Read(PjlReply& reply, Token& token) {
    std::string_view whole;
    const uint32_t result = PjlReadReplyToken(reply, &whole, &token.type);
    token.text = PjlCutToken(whole, kDispatchTokenCapacity);
    return result;
}

// The answer of an INQUIRE: a line end, then the answer line as an entry.
// Returns 0, the read's error, or ERROR_INVALID_PARAMETER for another shape.
uint32_t ReadInquireAnswer(PjlReply& reply, Token& answer);

// Copies text into a field as lstrcpynA does: at most capacity - 1
// characters (capacity at least 1), then a terminating zero.
inline void CopyToField(char* field, size_t capacity, std::string_view text) {
    const size_t length = text.size() < capacity - 1 ? text.size() : capacity - 1;
    if (length != 0) std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

}  // namespace tb58::pjl
