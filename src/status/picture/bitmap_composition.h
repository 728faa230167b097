// Composing the status picture: the layers of every selected status code
// from the tables of the main body and each installed option, adapted to
// the machine's configuration.
#pragma once

#include <cstdint>

#include "core/mem_block.h"
#include "core/rec_list.h"
#include "status/status_context.h"

namespace tb58::status {

// For each code of codes (a RecList of uint32), in order: adds the layers of
// its record in the main body's table and in the table of every device of
// the record's pDeviceInfo chain, in chain order.  A code whose text is the
// key of some record of some table is looked up exactly in every table;
// any other code through the wildcard keys.  Returns 0, or
// ERROR_NOT_ENOUGH_MEMORY when a layer cannot be added: a picture that
// lacks a marker would tell the user that all is well there.
uint32_t CollectStatusLayers(const StatusContext& context, RecList* codes, MemBlock* block);

// Collects the layers into the first block of blocks (a RecList of
// MemBlock pointers), then applies the fourth-tray, booklet, offset and
// overlay rules.  Returns 0, or the failure of a layer that cannot be
// added (ERROR_NOT_ENOUGH_MEMORY).
uint32_t ApplyLayoutRules(const StatusContext& context, RecList* codes, RecList* blocks);

}  // namespace tb58::status
