// The JSON type of every report, view and reply of the program: keys stay
// in the order they were written.
#pragma once

#include <nlohmann/json.hpp>

namespace tb58mon {

using Json = nlohmann::ordered_json;

}  // namespace tb58mon
