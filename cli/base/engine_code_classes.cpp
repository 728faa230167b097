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

TonerLevel TonerOfCodes(const std::vector<int32_t>& codes) {
    TonerLevel state = TonerLevel::kOk;
    for (int32_t code : codes) {
        if (IsOfClass(code, EngineCodeClass::TONER_RUN_OUT) || IsOfClass(code, EngineCodeClass::NO_TONER)) {
            return TonerLevel::kEmpty;
        }
        if (IsOfClass(code, EngineCodeClass::TONER_LOW)) state = TonerLevel::kLow;
    }
    return state;
}

bool IsNormalStateCode(int32_t code) {
    return IsOfClass(code, EngineCodeClass::READY) || IsOfClass(code, EngineCodeClass::WARMING_UP) ||
           IsOfClass(code, EngineCodeClass::PRINTING) || IsOfClass(code, EngineCodeClass::ENERGY_SAVER);
}

}  // namespace tb58mon
