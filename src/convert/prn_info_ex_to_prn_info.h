// Flattening a PrnInfoEx into the caller's 2400-byte PrnInfo.
#pragma once

#include <cstdint>

#include "Tb58Wk31PrnInfo.h"
#include "Tb58Wk31PrnInfoEx.h"

namespace tb58::convert {

// Writes all of target from source: the categories the INFO_... flags ask
// for, and the option words whatever the flags.  The arguments are checked
// by the caller; the source is only read.  Chains are walked from their
// first node and at most as many nodes as the target's arrays hold are
// copied, whatever the counts say.
void PrnInfoExToPrnInfo(const PrnInfoEx& source, PrnInfo* target, uint32_t flags);

// The engine status summary: codes and count into target, and
// dwEngineStatus = the low 16 bits of the one code when the source counts
// exactly one and has it, else ((sum mod 65536) << 16) | 107 over the first
// 32 codes of the chain.
void CopyEngineStatus(const PrnInfoEx& source, PrnInfo* target);

}  // namespace tb58::convert
