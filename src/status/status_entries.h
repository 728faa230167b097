// Turning selected status codes into status entries: a message, a place and,
// for the service call, the service code shown on the printer.
#pragma once

#include <cstdint>

#include "core/rec_list.h"
#include "status/status_context.h"

namespace tb58::status {

struct StatusEntry {
    int32_t message;  // message code (the status code, or one of the evaluation's own)
    int32_t place;    // place id, 0 for none
    char text[256];   // empty except for the service call: the service code
};
static_assert(sizeof(StatusEntry) == 264);

// The working lists, with the sizes the status steps create them with.
inline RecList* CreateStatusCodeList() { return RecListCreate(sizeof(uint32_t), 20, 1); }
inline RecList* CreateStatusEntryList() { return RecListCreate(sizeof(StatusEntry), 20, 1); }

// Selects the codes (SelectStatusCodes) and appends the entries of each to
// entries.  Returns 0, ERROR_NOT_ENOUGH_MEMORY when the code list cannot be
// made, or TB58_ERROR_NOT_FOUND for a kind value without priority table.
uint32_t BuildStatusEntries(const StatusContext& context, RecList* entries);

// Appends the entries of one code, handling the codes whose place depends on
// the installed options and the service call.  Returns 0.
uint32_t EvaluateStatusCode(const StatusContext& context, uint32_t code, RecList* entries);

// Appends the entries the status code table gives for code: every exact row,
// or else every matching wildcard row.  Returns 0.
uint32_t AddTableEntries(const StatusContext& context, uint32_t code, RecList* entries);

// Copies the service code from a printer display text: from the last "SC"
// (upper case) to the end, at most capacity - 1 characters and a
// terminator; the empty text when there is none.  text is read up to its
// first zero or text_capacity bytes, whichever comes first.  Returns 0, or
// ERROR_INVALID_PARAMETER for a null text or out or a capacity of 0.
uint32_t ExtractServiceCode(const char* text, size_t text_capacity, char* out, size_t capacity);

}  // namespace tb58::status
