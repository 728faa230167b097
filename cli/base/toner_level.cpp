#include "base/toner_level.h"

namespace tb58mon {

std::string_view TonerName(TonerLevel toner) {
    switch (toner) {
        case TonerLevel::kOk: return "ok";
        case TonerLevel::kLow: return "low";
        case TonerLevel::kEmpty: return "empty";
    }
    return "?";
}

std::optional<TonerLevel> TonerOfName(std::string_view name) {
    for (TonerLevel toner : {TonerLevel::kOk, TonerLevel::kLow, TonerLevel::kEmpty}) {
        if (TonerName(toner) == name) return toner;
    }
    return std::nullopt;
}

}  // namespace tb58mon
