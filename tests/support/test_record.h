// A PrnInfoEx set up as a caller sets it up, released as a caller releases
// it: the caller kit's record (Tb58Wk31Kit.hpp), under the tests' names.
#pragma once

#include "Tb58Wk31Kit.hpp"

namespace tb58::test {

using tb58kit::ReleaseChain;
using tb58kit::ReleaseRecord;
using TestRecord = tb58kit::Record;

}  // namespace tb58::test
