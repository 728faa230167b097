// What the reply handlers share: reading tokens into fixed buffers.
#pragma once

#include <cstdint>

#include "pjl/pjl_tokenizer.h"

namespace tb58::pjl {

// A token read with the dispatcher's capacity (up to 32 characters).
struct Token {
    char text[kDispatchTokenCapacity] = {};
    uint32_t type = 0;
};

inline uint32_t Read(PjlTokenizer& tokenizer, Token& token) {
    return PjlNextToken(&tokenizer, token.text, sizeof token.text, &token.type);
}

// The answer of an INQUIRE: a line end, then the answer line as an entry.
// Returns 0, the read's error, or ERROR_INVALID_PARAMETER for another shape.
uint32_t ReadInquireAnswer(PjlTokenizer& tokenizer, Token& answer);

}  // namespace tb58::pjl
