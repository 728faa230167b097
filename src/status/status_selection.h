// Choosing the codes a status monitor shows: those of the most urgent
// priority for the kind.
#pragma once

#include <cstdint>

#include "core/rec_list.h"
#include "status/status_context.h"
#include "status/status_tables.h"

namespace tb58::status {

// The no-response condition, counted as present while bNoResponse is set.
constexpr uint32_t kNoResponseCode = 0xFFFFFF02u;  // -254
constexpr uint16_t kUnlistedPriority = 0xFFFF;

struct StatusPriority {
    uint16_t priority;  // kUnlistedPriority when not found
    bool found;
};

// Exact key first, then the first wildcard key that matches.
StatusPriority FindStatusPriority(const StatusPriorityRow* table, uint32_t code);

// The priority table of a whole kind value, or null.
const StatusPriorityRow* PriorityTableOfKind(uint32_t kind);

// Appends to codes (a RecList of uint32) every engine status code of the
// record whose priority is the most urgent one present, in chain order, then
// -254 if bNoResponse is set and it is that urgent; then sorts them in
// ascending unsigned order.  TB58_ERROR_NOT_FOUND for a kind value without
// priority table (nothing appended); 0 otherwise, also for no codes.
uint32_t SelectStatusCodes(const StatusContext& context, RecList* codes);

}  // namespace tb58::status
