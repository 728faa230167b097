#include "report/tray_level.h"

#include <charconv>

namespace tb58mon {
namespace {

constexpr uint16_t kFull = 100;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f'; }

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

// A whole number of decimal digits; none for anything else (a sign, a
// blank, a number past 32 bits).
std::optional<uint32_t> Digits(std::string_view text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The next word of a line (blanks between words) and what follows it.
std::string_view NextWord(std::string_view& line) {
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    size_t end = 0;
    while (end < line.size() && !IsBlank(line[end])) ++end;
    const std::string_view word = line.substr(0, end);
    line.remove_prefix(end);
    return word;
}

// True when line is "@PJL INQUIRE variable" (after any form feeds, NUL-free
// replies: the framing removed those).
bool AsksFor(std::string_view line, std::string_view variable) {
    const size_t start = line.find("@PJL");
    if (start == std::string_view::npos) return false;
    line.remove_prefix(start);
    return NextWord(line) == "@PJL" && NextWord(line) == "INQUIRE" && NextWord(line) == variable &&
           Trimmed(line).empty();
}

}  // namespace

std::optional<uint16_t> QuantityPercent(std::string_view answer) {
    if (answer == "END") return 0;
    if (answer == "FULL") return kFull;
    const size_t slash = answer.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    const std::optional<uint32_t> part = Digits(answer.substr(0, slash));
    const std::optional<uint32_t> whole = Digits(answer.substr(slash + 1));
    if (!part || !whole || *whole == 0 || *part > *whole) return std::nullopt;
    return static_cast<uint16_t>(uint64_t{*part} * kFull / *whole);
}

std::optional<std::string_view> InquireAnswer(std::string_view reply, std::string_view variable) {
    std::optional<std::string_view> answer;
    bool asked = false;
    while (!reply.empty()) {
        const size_t end = reply.find('\n');
        const std::string_view line = reply.substr(0, end);
        reply.remove_prefix(end == std::string_view::npos ? reply.size() : end + 1);
        if (asked) {
            const std::string_view value = Trimmed(line);
            answer = value.empty() ? std::nullopt : std::optional<std::string_view>(value);
        }
        asked = AsksFor(line, variable);
    }
    return answer;
}

std::optional<uint16_t> TrayLevel(uint16_t record_level, std::string_view variable,
                                  std::span<const std::string_view> replies) {
    if (variable.empty()) return std::nullopt;
    std::optional<std::string_view> answer;
    for (std::string_view reply : replies) {
        if (auto found = InquireAnswer(reply, variable)) answer = found;
    }
    if (answer) return QuantityPercent(*answer);
    if (record_level >= 1 && record_level <= kFull) return record_level;
    return std::nullopt;
}

}  // namespace tb58mon
