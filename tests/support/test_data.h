// The files of tests/data, compiled into the test programs so that they run
// anywhere (also under Wine) without reading the source tree.
#pragma once

#include <string_view>

namespace tb58::test {

// The bytes of tests/data/<name>; empty when there is no such file.
std::string_view TestData(std::string_view name);

}  // namespace tb58::test
