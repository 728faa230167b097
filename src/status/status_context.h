// The pair handed between the status steps.
#pragma once

#include <cstdint>

#include "Tb58Wk31PrnInfoEx.h"

namespace tb58::status {

struct StatusContext {
    uint32_t kind;             // the whole kind value; bit 31 selects the alternate presentation
    const PrnInfoEx* record;   // the record of the kind (merged, or as given)
};

constexpr uint32_t kAlternateBit = 0x80000000u;

inline bool IsAlternate(const StatusContext& context) { return (context.kind & kAlternateBit) != 0; }

// Whether the low 16 bits of a kind argument are one of 1, 2, 8, 0x8000.
inline bool IsAcceptedKind(uint32_t kind) {
    const uint32_t low = kind & 0xFFFFu;
    return low == 1 || low == 2 || low == 8 || low == 0x8000;
}

}  // namespace tb58::status
