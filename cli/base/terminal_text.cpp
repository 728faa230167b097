#include "base/terminal_text.h"

#include <cctype>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace tb58mon {

namespace {

constexpr std::string_view kLanguageCodes[] = {"EN", "JP", "DE", "FR", "IT", "ES", "NL", "SV",
                                               "DA", "NO", "CS", "HU", "PT", "PL", "FI"};

}  // namespace

std::span<const std::string_view> LanguageCodes() { return kLanguageCodes; }

std::string LanguageCode(std::string_view text) {
    std::string upper;
    for (char c : text) upper.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    for (std::string_view code : kLanguageCodes) {
        if (code == upper) return upper;
    }
    return {};
}

uint32_t CodePageOfLanguage(std::string_view code) {
    std::string upper;
    for (char c : code) upper.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    if (upper == "JP") return 932;
    if (upper == "CS" || upper == "HU" || upper == "PL") return 1250;
    return 1252;
}

#ifdef _WIN32

std::string AnsiToUtf8(std::string_view text, uint32_t code_page) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int wide_length = MultiByteToWideChar(code_page, 0, text.data(), length, nullptr, 0);
    if (wide_length <= 0) return std::string(text.size(), '?');
    std::vector<wchar_t> wide(static_cast<size_t>(wide_length));
    MultiByteToWideChar(code_page, 0, text.data(), length, wide.data(), wide_length);
    const int utf8_length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
    if (utf8_length <= 0) return std::string(text.size(), '?');
    std::string utf8(static_cast<size_t>(utf8_length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, utf8.data(), utf8_length, nullptr, nullptr);
    return utf8;
}

void PrepareTerminal() { SetConsoleOutputCP(CP_UTF8); }

#else

std::string AnsiToUtf8(std::string_view text, uint32_t code_page) {
    const std::string from = "CP" + std::to_string(code_page);
    iconv_t cd = iconv_open("UTF-8", from.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(text);
    std::string utf8;
    std::vector<char> input(text.begin(), text.end());
    char* in = input.data();
    size_t in_left = input.size();
    while (in_left > 0) {
        char chunk[256];
        char* out = chunk;
        size_t out_left = sizeof chunk;
        const size_t result = iconv(cd, &in, &in_left, &out, &out_left);
        utf8.append(chunk, static_cast<size_t>(out - chunk));
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            // An undefined byte or a double-byte character cut short.
            utf8.push_back('?');
            ++in;
            --in_left;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(cd);
    return utf8;
}

void PrepareTerminal() {}

#endif

}  // namespace tb58mon
