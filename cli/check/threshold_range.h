// Threshold ranges as monitoring plugins take them for -w and -c:
//
//   10      alert outside 0..10          ~:10    alert above 10
//   10:     alert below 10               10:20   alert outside 10..20
//   @10:20  alert inside 10..20 (both ends included)
//
// The ends are decimal numbers (negative ones too); "~" as the start stands
// for minus infinity.  An end is inside the range.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tb58mon {

struct ThresholdRange {
    std::optional<double> start;  // none: minus infinity
    std::optional<double> end;    // none: plus infinity
    bool inside = false;          // '@': alert when the value lies in the range
    std::string text;             // as given, for the performance data
};

// The range of text, or an error message naming option.
struct RangeParse {
    std::optional<ThresholdRange> range;
    std::string error;
};
RangeParse ParseThresholdRange(std::string_view option, std::string_view text);

// True when value calls for the alert of range.
bool RangeAlerts(const ThresholdRange& range, double value);

}  // namespace tb58mon
