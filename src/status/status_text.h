// Composing the localized status text from status entries: the message of
// the first entry gives the template, and every "%s" in it receives the
// names of all entries' places.
#pragma once

#include <cstdint>

#include "core/rec_list.h"
#include "status/status_context.h"

namespace tb58::status {

// Buffer sizes of the composition.
constexpr int32_t kStatusTextCapacity = 512;
constexpr int32_t kPlaceListCapacity = 256;
constexpr int32_t kPlaceNameCapacity = 256;
constexpr int32_t kSeparatorCapacity = 16;

// Text selector: the variant of the message maps.
constexpr uint8_t kShortText = 1;
constexpr uint8_t kLongText = 2;

// The template filled in, and for the long text of the service call (40800)
// the service code after it.  Never writes past out (capacity bytes).
// Returns 0, or TB58_ERROR_NOT_FOUND (no entries, no map for the selector,
// no message text) with whatever was composed in out.
uint32_t ComposeStatusText(const StatusContext& context, RecList* entries, uint8_t selector, char* out,
                           int32_t capacity);

// The first entry's message text with every "%s" replaced by the place list
// (left out when it cannot be made or does not fit).  Text that does not fit
// out is cut at a character boundary.
uint32_t FillMessageTemplate(const StatusContext& context, RecList* entries, uint8_t selector, char* out,
                             int32_t capacity);

// The names of the entries' places in the place map's row order, each once,
// joined by the separator (string 3500), in out (kPlaceListCapacity bytes);
// a list that does not fit ends with the last whole name that does.
// Returns 0 or the last name load's error; ERROR_NOT_ENOUGH_MEMORY,
// TB58_ERROR_NOT_FOUND (no map, no separator, a place without row; out empty).
uint32_t ComposePlaceList(RecList* entries, char* out);

}  // namespace tb58::status
