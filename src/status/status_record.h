// The record of a function kind taken from a status packet and completed
// from the packet's overall record.
#pragma once

#include <cstdint>

#include "Tb58Wk31InfoItem.h"
#include "Tb58Wk31PrnInfoEx.h"

namespace tb58::status {

// Fills out (the caller's record; bytes 0-279 are written) with a copy of the
// kind's record whose chains and texts are replaced by the overall record's
// where that one has them, and whose memory size and model code always come
// from the overall record.  Nothing is duplicated: out shares the caller's
// chains and texts.  Returns 0 or ERROR_INVALID_PARAMETER (kind not
// accepted, not a status packet, a child missing or not 8 bytes, a null
// record pointer, a record whose dwSize is below 404).
uint32_t GetStatusRecord(uint32_t kind, const InfoItem* packet, PrnInfoEx* out);

}  // namespace tb58::status
