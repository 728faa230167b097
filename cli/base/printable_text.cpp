#include "base/printable_text.h"

#include <cstdint>

namespace tb58mon {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at the start of text and its
// code point; 0 when the first byte starts none.
size_t DecodeOne(std::string_view text, uint32_t& code) {
    const auto lead = static_cast<unsigned char>(text[0]);
    size_t length = 0;
    uint32_t least = 0;
    if (lead < 0x80) {
        code = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
        least = 0x10000;
    } else {
        return 0;  // a continuation byte, C0 or C1 (overlong), F5..FF
    }
    if (text.size() < length) return 0;
    for (size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!IsContinuation(byte)) return 0;
        code = (code << 6) | (byte & 0x3Fu);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

bool IsHidden(uint32_t code) {
    return code < 0x20 || (code >= 0x7F && code <= 0x9F) || (code >= 0x202A && code <= 0x202E) ||
           (code >= 0x2066 && code <= 0x2069);
}

std::string Printable(std::string_view text, bool keep_lines) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        uint32_t code = 0;
        const size_t length = DecodeOne(text, code);
        if (length == 0) {
            out += kReplacement;
            text.remove_prefix(1);
            continue;
        }
        if (keep_lines && code == '\r' && text.size() > 1 && text[1] == '\n') {
            text.remove_prefix(1);  // CR LF: the LF is kept next
            continue;
        }
        if (code == '\t' || (keep_lines && code == '\n') || !IsHidden(code)) {
            out.append(text.substr(0, length));
        } else {
            out += '?';
        }
        text.remove_prefix(length);
    }
    return out;
}

}  // namespace

std::string PrintableText(std::string_view text) { return Printable(text, false); }

std::string PrintableLines(std::string_view text) { return Printable(text, true); }

}  // namespace tb58mon
