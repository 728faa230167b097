// The string id maps of the status texts, place names and option names.
// Each ends with a row whose key is kStringIdMapEnd.
#pragma once

#include "frame/string_id_map.h"

namespace tb58::status {

// Message code -> short / long status text (108 rows each, in the same order).
extern const frame::StringIdMap kMessageShortTextMap[];
extern const frame::StringIdMap kMessageLongTextMap[];

// Message code -> alternate short / long status text, for kinds with bit 31
// set (46 rows each; several codes share a text).
extern const frame::StringIdMap kAlternateMessageShortTextMap[];
extern const frame::StringIdMap kAlternateMessageLongTextMap[];

// Place id -> place name (35 rows).  The row order is the order in which a
// list of several places names them.
extern const frame::StringIdMap kPlaceNameMap[];

// Option device code -> option name (14 rows).
extern const frame::StringIdMap kOptionNameMap[];

}  // namespace tb58::status
