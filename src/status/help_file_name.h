#pragma once

#include <cstdint>

#include "core/rec_list.h"
#include "status/status_context.h"

namespace tb58::status {

constexpr int32_t kHelpFileNameCapacity = 512;

// The name of the help file for the selected status codes.  This model
// family has no help files: the name is always empty.  Returns 0.
uint32_t ComposeHelpFileName(const StatusContext& context, RecList* codes, char* out, int32_t capacity);

}  // namespace tb58::status
