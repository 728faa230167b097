#include "check/threshold_range.h"

#include <charconv>
#include <cmath>

namespace tb58mon {
namespace {

// A whole decimal number ("10", "-2.5", "+3"); not "inf", "nan", hex or
// exponents, which no one means as a tray level.
std::optional<double> ReadNumber(std::string_view text) {
    if (text.starts_with('+')) text.remove_prefix(1);
    if (text.empty() || text.size() > 32) return std::nullopt;
    for (char c : text) {
        if ((c < '0' || c > '9') && c != '.' && c != '-') return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

RangeParse ParseThresholdRange(std::string_view option, std::string_view text) {
    const std::string bad = std::string(option) +
                            " must be a range: N (0 to N), N: (N or more), ~:N (N or less), N:M, or @N:M "
                            "(alert inside)";
    ThresholdRange range;
    range.text = std::string(text);
    std::string_view rest = text;
    if (rest.starts_with('@')) {
        range.inside = true;
        rest.remove_prefix(1);
    }
    const size_t colon = rest.find(':');
    if (colon == std::string_view::npos) {
        range.start = 0;
        range.end = ReadNumber(rest);
        if (!range.end) return {std::nullopt, bad};
    } else {
        const std::string_view start = rest.substr(0, colon);
        const std::string_view end = rest.substr(colon + 1);
        if (start != "~") {
            range.start = ReadNumber(start);
            if (!range.start) return {std::nullopt, bad};
        }
        if (!end.empty()) {
            range.end = ReadNumber(end);
            if (!range.end) return {std::nullopt, bad};
        }
    }
    if (range.start && range.end && *range.start > *range.end) {
        return {std::nullopt, std::string(option) + " starts above its end: " + std::string(text)};
    }
    return {range, ""};
}

bool RangeAlerts(const ThresholdRange& range, double value) {
    const bool in = (!range.start || value >= *range.start) && (!range.end || value <= *range.end);
    return range.inside ? in : !in;
}

}  // namespace tb58mon
