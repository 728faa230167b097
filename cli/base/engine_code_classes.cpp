#include "base/engine_code_classes.h"

namespace tb58mon {
namespace {

struct CodeRange {
    EngineCodeClass code_class;
    int32_t first;
    int32_t last;
};

constexpr CodeRange kCodeClasses[] = {
#define TB58_CLASS_RANGE(name, first, last) {EngineCodeClass::name, first, last},
    TB58_ENGINE_CODE_CLASSES(TB58_CLASS_RANGE)
#undef TB58_CLASS_RANGE
};

}  // namespace

bool IsOfClass(int32_t code, EngineCodeClass wanted) {
    for (const CodeRange& range : kCodeClasses) {
        if (range.code_class == wanted && code >= range.first && code <= range.last) return true;
    }
    return false;
}

}  // namespace tb58mon
