#include "frame/bounded_text.h"

#include <cstdlib>
#include <cstring>

#include "frame/display_language.h"

namespace tb58::frame {

UINT CurrentAnsiCodePage() {
    char value[16] = {};
    if (GetLocaleInfoA(CurrentLanguage(), LOCALE_IDEFAULTANSICODEPAGE, value, sizeof value) <= 0) return 0;
    return static_cast<UINT>(std::strtoul(value, nullptr, 10));
}

size_t CharacterPrefix(std::string_view text, size_t limit, UINT code_page) {
    if (text.size() <= limit) return text.size();
    size_t at = 0;
    while (at < limit) {
        const auto byte = static_cast<BYTE>(text[at]);
        const size_t width = (code_page != 0 && IsDBCSLeadByteEx(code_page, byte)) ? 2 : 1;
        if (at + width > limit) break;
        at += width;
    }
    return at;
}

BoundedText::BoundedText(char* out, size_t capacity, UINT code_page)
    : out_(out), capacity_(capacity), code_page_(code_page) {
    out_[0] = '\0';
}

bool BoundedText::Append(std::string_view text) {
    const size_t room = capacity_ - 1 - length_;
    const size_t taken = CharacterPrefix(text, room, code_page_);
    if (taken != 0) std::memcpy(out_ + length_, text.data(), taken);
    length_ += taken;
    out_[length_] = '\0';
    return taken == text.size();
}

bool BoundedText::AppendWhole(std::string_view text) {
    if (text.size() > capacity_ - 1 - length_) return false;
    return Append(text);
}

}  // namespace tb58::frame
