#include "status/status_selection.h"

#include <algorithm>
#include <cstring>

#include "Tb58Wk31.h"
#include "status/status_key.h"

namespace tb58::status {

StatusPriority FindStatusPriority(const StatusPriorityRow* table, uint32_t code) {
    StatusPriority found{kUnlistedPriority, false};
    ForEachMatchingRow(table, code, [&found](const StatusPriorityRow& row) {
        found = {row.priority, true};
        return false;  // the first row the code selects
    });
    return found;
}

const StatusPriorityRow* PriorityTableOfKind(uint32_t kind) {
    for (const StatusPriorityIndexRow* row = kStatusPriorityIndex; row->kind != kStatusPriorityIndexEnd; ++row) {
        if (row->kind == kind) return row->table;
    }
    return nullptr;
}

uint32_t SelectStatusCodes(const StatusContext& context, RecList* codes) {
    const StatusPriorityRow* table = PriorityTableOfKind(context.kind);
    if (table == nullptr) return TB58_ERROR_NOT_FOUND;
    const PrnInfoEx& record = *context.record;

    // The priorities of the first nodes are kept for the second walk.
    constexpr size_t kKept = 32;
    uint16_t kept[kKept];
    uint16_t best = kUnlistedPriority;
    size_t index = 0;
    for (const EngineStatusNode* node = record.pEngineStatus; node != nullptr;
         node = static_cast<const EngineStatusNode*>(node->next), ++index) {
        const uint16_t priority = FindStatusPriority(table, static_cast<uint32_t>(node->dwCode)).priority;
        if (index < kKept) kept[index] = priority;
        best = std::min(best, priority);
    }
    const bool no_response = record.bNoResponse != 0;
    const uint16_t no_response_priority = no_response ? FindStatusPriority(table, kNoResponseCode).priority
                                                      : kUnlistedPriority;
    if (no_response) best = std::min(best, no_response_priority);

    // A code that cannot be appended is missing from the list; no error.
    index = 0;
    for (const EngineStatusNode* node = record.pEngineStatus; node != nullptr;
         node = static_cast<const EngineStatusNode*>(node->next), ++index) {
        const auto code = static_cast<uint32_t>(node->dwCode);
        const uint16_t priority = index < kKept ? kept[index] : FindStatusPriority(table, code).priority;
        if (priority == best) RecListAdd(codes, &code);
    }
    if (no_response && no_response_priority == best) RecListAdd(codes, &kNoResponseCode);

    // Records lie back to back, so the list sorts in place as an array.
    const uint32_t count = RecListCount(codes);
    if (count > 1) {
        auto* first = static_cast<uint32_t*>(RecListGetPtr(codes, 1));
        std::stable_sort(first, first + count);
    }
    return TB58_ERROR_SUCCESS;
}

}  // namespace tb58::status
