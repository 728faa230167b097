// RecList: records of one fixed size, back to back in a MemBlock, addressed
// by 1-based position; RecListIter walks them with an index of its own.
#pragma once

#include <cstdint>
#include <memory>

#include "core/mem_block.h"

namespace tb58 {

struct RecList {
    uint32_t record_size;
    MemBlock* block;  // step = record size * growth count
};

struct RecListIter {
    RecList* list;
    uint32_t index;  // records already visited
};

// A new list; null for a record size of 0 or when memory runs out.
RecList* RecListCreate(uint32_t record_size, uint32_t growth_count, uint32_t initial_steps);
void RecListFree(RecList* list);

// Appends one record (record_size bytes at record).
bool RecListAdd(RecList* list, const void* record);

// Makes record number position (1-based); the records from there on move one
// place back.  A position beyond the count appends.  False for position 0
// or when memory runs out (list unchanged).
bool RecListInsert(RecList* list, const void* record, uint32_t position);

// The record at position, inside the list; valid until the list next grows.
// Null for position 0 or beyond the count.
void* RecListGetPtr(RecList* list, uint32_t position);

// Copies the record at position to destination; false as RecListGetPtr.
bool RecListGet(RecList* list, uint32_t position, void* destination);

uint32_t RecListCount(const RecList* list);

void RecListIterInit(RecList* list, RecListIter* iterator);

// The next record's address in *out; false at the end (nothing written).
bool RecListIterNextPtr(RecListIter* iterator, void** out);

// The next record copied to destination; false at the end.
bool RecListIterNext(RecListIter* iterator, void* destination);

struct RecListDeleter {
    void operator()(RecList* list) const noexcept { RecListFree(list); }
};

// Owns a working list within one call.
using RecListPtr = std::unique_ptr<RecList, RecListDeleter>;

}  // namespace tb58
