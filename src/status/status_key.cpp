#include "status/status_key.h"

#include <charconv>

namespace tb58::status {

std::string_view FormatStatusKey(uint32_t code, char (&buffer)[kStatusKeyCapacity]) {
    const auto result = std::to_chars(buffer, buffer + kStatusKeyCapacity - 1, code);
    *result.ptr = '\0';
    return {buffer, static_cast<size_t>(result.ptr - buffer)};
}

StatusKeyText::StatusKeyText(uint32_t value) : code(value) {
    length = static_cast<uint8_t>(FormatStatusKey(value, text).size());
}

bool MatchStatusKey(std::string_view text, std::string_view key) {
    if (text.size() != key.size()) return false;
    for (size_t i = 0; i < key.size(); ++i) {
        const bool wildcard = key[i] >= 'a' && key[i] <= 'z';
        if (!wildcard && key[i] != text[i]) return false;
    }
    return true;
}

}  // namespace tb58::status
