#include "base/text_format.h"

#include <ctime>

#include <cstdio>

namespace tb58mon {

std::string VisibleControls(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
            case '\x1b': out += "<ESC>"; break;
            case '\r': out += "<CR>"; break;
            case '\t': out += "<TAB>"; break;
            case '\f': out += "<FF>"; break;
            case '\n':
                out += "<LF>";
                if (i + 1 < text.size()) out += "\n";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                    char code[8];
                    std::snprintf(code, sizeof code, "<0x%02X>", static_cast<unsigned>(static_cast<unsigned char>(c)));
                    out += code;
                } else {
                    out.push_back(c);
                }
        }
    }
    return out;
}

std::string IndentLines(std::string_view text, std::string_view indent) {
    std::string out;
    for (char c : text) {
        out.push_back(c);
        if (c == '\n') out += indent;
    }
    return out;
}

void Heading(std::ostream& out, std::string_view title) { out << "\n== " << title << "\n"; }

std::string Pad(std::string_view text, size_t width) {
    // Counts characters, not bytes, so that UTF-8 names line up.
    size_t characters = 0;
    for (char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
    }
    std::string out(text);
    out.append(characters < width ? width - characters : 2, ' ');
    return out;
}

void Field(std::ostream& out, std::string_view label, std::string_view value) {
    out << "  " << Pad(label, 15) << IndentLines(value, "                 ") << "\n";
}

namespace {

std::tm TimeParts(std::chrono::system_clock::time_point time, bool utc) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm parts{};
#ifdef _WIN32
    if (utc) {
        gmtime_s(&parts, &seconds);
    } else {
        localtime_s(&parts, &seconds);
    }
#else
    if (utc) {
        gmtime_r(&seconds, &parts);
    } else {
        localtime_r(&seconds, &parts);
    }
#endif
    return parts;
}

}  // namespace

std::string LocalTimeStamp(std::chrono::system_clock::time_point time) {
    const std::tm parts = TimeParts(time, false);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &parts);
    return text;
}

std::string UtcIsoTime(std::chrono::system_clock::time_point time) {
    const std::tm parts = TimeParts(time, true);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return text;
}

}  // namespace tb58mon
