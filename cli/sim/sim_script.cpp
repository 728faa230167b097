#include "sim/sim_script.h"

#include <charconv>

#include "base/cli_error.h"

namespace tb58mon {
namespace {

// The longest step: a day is more than any test or demonstration needs, and
// keeps every duration far inside what the clocks can count.
constexpr double kLongestStep = 24 * 3600;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Seconds as digits with an optional fraction ("3", "0.5", ".25"); no sign,
// no exponent, no "inf".
bool ParseSeconds(std::string_view text, double& seconds) {
    if (text.empty()) return false;
    size_t digits = 0;
    size_t points = 0;
    for (char c : text) {
        if (IsDigit(c)) {
            ++digits;
        } else if (c == '.') {
            ++points;
        } else {
            return false;
        }
    }
    if (digits == 0 || points > 1 || text.back() == '.') return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::vector<ScriptStep> ParseSimScript(std::string_view text) {
    if (text.empty()) throw BadArgument("the script is empty: give steps like all-well:10,off:5,all-well");
    std::vector<ScriptStep> steps;
    size_t at = 0;
    while (true) {
        const size_t comma = text.find(',', at);
        const std::string_view item = text.substr(at, comma == std::string_view::npos ? text.size() - at : comma - at);
        const bool last = comma == std::string_view::npos;
        const std::string number = std::to_string(steps.size() + 1);
        const std::string quoted = "script step " + number + " '" + std::string(item) + "'";
        const size_t colon = item.find(':');
        const std::string_view name = item.substr(0, colon);
        if (name.empty()) throw BadArgument(quoted + " names no scenario (NAME:SECONDS, or off:SECONDS)");
        ScriptStep step;
        step.off = name == kSwitchedOffStep;
        if (!step.off) step.scenario = std::string(name);
        if (colon == std::string_view::npos) {
            if (!last) throw BadArgument(quoted + " needs its seconds (NAME:SECONDS); only the last step may leave them out");
        } else {
            const std::string_view seconds = item.substr(colon + 1);
            if (!ParseSeconds(seconds, step.seconds)) {
                throw BadArgument(quoted + ": '" + std::string(seconds) + "' is not a number of seconds");
            }
            if (step.seconds <= 0 || step.seconds > kLongestStep) {
                throw BadArgument(quoted + ": the seconds must be more than 0 and at most 86400");
            }
        }
        steps.push_back(std::move(step));
        if (last) break;
        at = comma + 1;
    }
    return steps;
}

}  // namespace tb58mon
