// The constant tables of the status evaluation.
#pragma once

#include <cstdint>

#include "status/status_key.h"

namespace tb58::status {

// Ended by a row with a null key.  Each row carries its key compiled
// (status_key.h) when the table is built, at compile time.
struct StatusPriorityRow {
    constexpr StatusPriorityRow(const char* key_text, uint16_t row_priority)
        : key(key_text), priority(row_priority), pattern(key_text ? CompileTableKey(key_text) : StatusKeyPattern{}) {}
    const char* key;
    uint16_t priority;
    StatusKeyPattern pattern;
};

constexpr uint32_t kStatusPriorityIndexEnd = 0xFFFFFFFFu;

// Ended by a row whose kind is kStatusPriorityIndexEnd.
struct StatusPriorityIndexRow {
    uint32_t kind;  // the whole kind value, bit 31 included
    const StatusPriorityRow* table;
};

// Ended by a row with a null key; the key is compiled as above.
struct StatusCodeRow {
    constexpr StatusCodeRow(const char* key_text, int32_t row_message, int32_t row_place)
        : key(key_text), message(row_message), place(row_place),
          pattern(key_text ? CompileTableKey(key_text) : StatusKeyPattern{}) {}
    const char* key;
    int32_t message;
    int32_t place;
    StatusKeyPattern pattern;
};

extern const StatusPriorityRow kKind1StatusPriorities[];
extern const StatusPriorityRow kKind8StatusPriorities[];
extern const StatusPriorityRow kKind2StatusPriorities[];
extern const StatusPriorityIndexRow kStatusPriorityIndex[];

extern const StatusCodeRow kStatusCodeTable[];
extern const StatusCodeRow kAlternateStatusCodeTable[];

}  // namespace tb58::status
