// Where a value of a TOML file stands, for messages: "FILE:LINE".
#pragma once

#include <string>
#include <string_view>

#include <toml++/toml.h>

namespace tb58mon {

inline std::string TomlPlace(std::string_view file, const toml::source_region& source) {
    return std::string(file) + ":" + std::to_string(source.begin.line);
}

}  // namespace tb58mon
