// The classes of engine status codes the monitor acts on (toner low, run
// out, no toner; normal operation), from the library's public list in
// Tb58Wk31Words.h.
#pragma once

#include <cstdint>

#include <Tb58Wk31Words.h>

namespace tb58mon {

enum class EngineCodeClass {
#define TB58_CLASS_NAME(name, first, last) name,
    TB58_ENGINE_CODE_CLASSES(TB58_CLASS_NAME)
#undef TB58_CLASS_NAME
};

// True when code lies in the class's range.
bool IsOfClass(int32_t code, EngineCodeClass wanted);

}  // namespace tb58mon
