// The classes of engine status codes the monitor acts on (toner low, run
// out, no toner; normal operation), from the library's public list in
// Tb58Wk31Words.h, and what the monitor reads from them.
#pragma once

#include <cstdint>
#include <vector>

#include "base/toner_level.h"

#include <Tb58Wk31Words.h>

namespace tb58mon {

enum class EngineCodeClass {
#define TB58_CLASS_NAME(name, first, last) name,
    TB58_ENGINE_CODE_CLASSES(TB58_CLASS_NAME)
#undef TB58_CLASS_NAME
};

// True when code lies in the class's range.
bool IsOfClass(int32_t code, EngineCodeClass wanted);

// The toner's state from the toner conditions among engine status codes:
// empty when a toner ran out or is missing, else low when one is low, else
// ok.  (PJL reports no toner levels; over snmp:// the supplies' levels
// decide where the printer gives them.)
TonerLevel TonerOfCodes(const std::vector<int32_t>& codes);

// True for the engine status codes of normal operation: ready, warming up,
// printing, energy saver.
bool IsNormalStateCode(int32_t code);

}  // namespace tb58mon
