#include "frame/localized_string.h"

#include <cstdlib>
#include <cstring>

#include "Tb58Wk31.h"
#include "core/global_block.h"
#include "frame/display_language.h"
#include "frame/module_instance.h"

namespace tb58::frame {
namespace {

bool IsHighSurrogate(WideUnit unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// The ANSI code page of a language, asked of the system each time; 0 when
// the system has no code-page information for it.
uint32_t AnsiCodePageOf(LANGID language, bool& allocation_failed) {
    allocation_failed = false;
    const int length = GetLocaleInfoA(language, LOCALE_IDEFAULTANSICODEPAGE, nullptr, 0);
    if (length <= 0) return 0;
    GlobalBlock text = AllocateGlobal(static_cast<SIZE_T>(length), true);
    if (!text) {
        allocation_failed = true;
        return 0;
    }
    auto* chars = static_cast<char*>(text.get());
    if (GetLocaleInfoA(language, LOCALE_IDEFAULTANSICODEPAGE, chars, length) <= 0) return 0;
    chars[length - 1] = '\0';
    return static_cast<uint32_t>(std::strtoul(chars, nullptr, 10));
}

// Bytes the first units of text take in code page; -1 when the system
// refuses the conversion.
int ConvertedSize(UINT code_page, const WideUnit* text, int units) {
    if (units == 0) return 0;
    const int size = WideCharToMultiByte(code_page, 0, text, units, nullptr, 0, nullptr, nullptr);
    return size > 0 ? size : -1;
}

}  // namespace

void ConvertToCodePage(UINT code_page, const WideUnit* text, int units, char* out, int capacity) {
    // The whole text with its terminator, when it fits.
    if (units >= 0 && text[units] == 0 &&
        WideCharToMultiByte(code_page, 0, text, units + 1, out, capacity, nullptr, nullptr) > 0) {
        return;
    }
    // Otherwise the longest prefix that fits before the terminator.  The
    // converted size grows with the number of units, so a binary search finds
    // it; a prefix never ends between the two halves of a surrogate pair.
    int low = 0;
    int high = units;
    while (low < high) {
        const int mid = low + (high - low + 1) / 2;
        const int size = ConvertedSize(code_page, text, mid);
        if (size >= 0 && size <= capacity - 1) {
            low = mid;
        } else {
            high = mid - 1;
        }
    }
    if (low > 0 && IsHighSurrogate(text[low - 1])) --low;
    int written = 0;
    if (low > 0) {
        written = WideCharToMultiByte(code_page, 0, text, low, out, capacity - 1, nullptr, nullptr);
        if (written < 0 || written > capacity - 1) written = 0;
    }
    out[written] = '\0';
}

uint32_t LoadLocalizedString(uint32_t id, char* buffer, int32_t capacity) {
    if (buffer == nullptr || capacity < 1) return ERROR_INVALID_PARAMETER;
    buffer[0] = '\0';

    // One reading of the language serves both the code page and the string
    // table: a language changed by another thread in between must not turn
    // a text into the wrong code page.  Nothing is cached, so a change of
    // language takes effect with the next string.
    const LANGID language = CurrentLanguage();
    bool allocation_failed = false;
    const uint32_t code_page = AnsiCodePageOf(language, allocation_failed);
    if (allocation_failed) return TB58_ERROR_NOT_FOUND;
    if (code_page == 0) return TB58_ERROR_UNKNOWN_LOCALE;

    HINSTANCE module = ModuleInstance();
    HRSRC block = FindResourceExA(module, RT_STRING, MAKEINTRESOURCEA((id >> 4) + 1), language);
    if (block == nullptr) return TB58_ERROR_NOT_FOUND;
    HGLOBAL loaded = LoadResource(module, block);
    if (loaded == nullptr) return TB58_ERROR_NOT_FOUND;
    const auto* units = static_cast<const WideUnit*>(LockResource(loaded));
    const DWORD total = SizeofResource(module, block) / sizeof(WideUnit);
    if (units == nullptr) return TB58_ERROR_NOT_FOUND;

    // Skip id & 15 counted strings to reach the wanted one.
    DWORD at = 0;
    for (uint32_t skip = id & 15; skip > 0; --skip) {
        if (at >= total) return TB58_ERROR_NOT_FOUND;
        at += 1 + units[at];
    }
    if (at >= total) return TB58_ERROR_NOT_FOUND;
    const DWORD count = units[at];
    if (count > total - at - 1) return TB58_ERROR_NOT_FOUND;

    GlobalBlock work = AllocateGlobal((count + 1) * sizeof(WideUnit), true);
    if (!work) return TB58_ERROR_NOT_FOUND;
    auto* text = static_cast<WideUnit*>(work.get());
    std::memcpy(text, units + at + 1, count * sizeof(WideUnit));
    text[count] = 0;

    ConvertToCodePage(code_page, text, static_cast<int>(count), buffer, capacity);
    return TB58_ERROR_SUCCESS;
}

}  // namespace tb58::frame
