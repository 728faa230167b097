#include "core/rec_list.h"

#include <cstring>

#include "platform/win32_api.h"

namespace tb58 {
namespace {

// Puts the cursor at the start of record number position (1 ... count + 1).
bool SeekRecord(RecList* list, uint32_t position) {
    const uint64_t offset = uint64_t{position - 1} * list->record_size;
    if (offset > INT32_MAX) return false;
    MemBlockSeek(list->block, static_cast<int32_t>(offset), kSeekSet);
    return list->block->cursor == offset;
}

}  // namespace

RecList* RecListCreate(uint32_t record_size, uint32_t growth_count, uint32_t initial_steps) {
    const uint64_t step = uint64_t{record_size} * growth_count;
    if (step == 0 || step > UINT32_MAX) return nullptr;
    MemBlockPtr block(MemBlockCreate(static_cast<uint32_t>(step), initial_steps));
    if (!block) return nullptr;
    auto* list = static_cast<RecList*>(GlobalAlloc(GMEM_FIXED, sizeof(RecList)));
    if (list == nullptr) return nullptr;
    *list = RecList{record_size, block.release()};
    return list;
}

void RecListFree(RecList* list) {
    if (list == nullptr) return;
    MemBlockFree(list->block);
    GlobalFree(list);
}

bool RecListAdd(RecList* list, const void* record) {
    MemBlockSeek(list->block, 0, kSeekEnd);
    return MemBlockWrite(list->block, record, list->record_size);
}

bool RecListInsert(RecList* list, const void* record, uint32_t position) {
    if (position == 0) return false;
    if (RecListCount(list) < position) return RecListAdd(list, record);
    if (!SeekRecord(list, position)) return false;
    return MemBlockInsert(list->block, record, list->record_size);
}

void* RecListGetPtr(RecList* list, uint32_t position) {
    if (position == 0 || position > RecListCount(list) || !SeekRecord(list, position)) return nullptr;
    return MemBlockRead(list->block, list->record_size);
}

bool RecListGet(RecList* list, uint32_t position, void* destination) {
    const void* record = RecListGetPtr(list, position);
    if (record == nullptr) return false;
    std::memcpy(destination, record, list->record_size);
    return true;
}

uint32_t RecListCount(const RecList* list) { return MemBlockGetSize(list->block) / list->record_size; }

void RecListIterInit(RecList* list, RecListIter* iterator) {
    iterator->list = list;
    iterator->index = 0;
}

bool RecListIterNextPtr(RecListIter* iterator, void** out) {
    if (iterator->index >= RecListCount(iterator->list)) return false;
    ++iterator->index;
    *out = RecListGetPtr(iterator->list, iterator->index);
    return *out != nullptr;
}

bool RecListIterNext(RecListIter* iterator, void* destination) {
    if (iterator->index >= RecListCount(iterator->list)) return false;
    ++iterator->index;
    return RecListGet(iterator->list, iterator->index, destination);
}

}  // namespace tb58
