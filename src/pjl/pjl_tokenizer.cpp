#include "pjl/pjl_tokenizer.h"

#include <array>
#include <climits>
#include <cstring>

#include "platform/win32_api.h"

namespace tb58::pjl {
void PjlTokenizerInit(PjlTokenizer* tokenizer, std::string_view text) {
    const void* zero = text.empty() ? nullptr : std::memchr(text.data(), '\0', text.size());
    tokenizer->position = text.data();
    tokenizer->end = zero != nullptr ? static_cast<const char*>(zero) : text.data() + text.size();
    tokenizer->state = PjlState::LINE_SEARCH;
}

int32_t DecimalValue(std::string_view text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    int64_t value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        value = value * 10 + (text[at] - '0');
        if (value > int64_t{INT32_MAX} + 1) break;  // saturates below
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

}  // namespace tb58::pjl
