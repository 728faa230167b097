// The status picture exports: PatCreateBitmapInfo and PatDisposeBitmapInfo.

#include "Tb58Wk31.h"
#include "frame/export_frame.h"
#include "status/picture/bitmap_composition.h"
#include "status/picture/bitmap_layers.h"
#include "status/picture/bitmap_order.h"
#include "status/status_entries.h"
#include "status/status_record.h"
#include "status/status_selection.h"

namespace tb58::status {
namespace {

// The list of working layer blocks, created as (8, 10, 1): the list and
// every block in it are freed together on every return path.
class WorkingBlocks {
public:
    WorkingBlocks() : list_(RecListCreate(sizeof(MemBlock*), 10, 1)) {}
    ~WorkingBlocks() {
        if (!list_) return;
        for (uint32_t i = 1; i <= RecListCount(list_.get()); ++i) {
            MemBlock* block = nullptr;
            if (RecListGet(list_.get(), i, &block)) MemBlockFree(block);
        }
    }
    WorkingBlocks(const WorkingBlocks&) = delete;
    WorkingBlocks& operator=(const WorkingBlocks&) = delete;

    bool valid() const { return list_ != nullptr; }
    RecList* list() const { return list_.get(); }
    uint32_t count() const { return RecListCount(list_.get()); }

    // Adds a new empty block; false (nothing added) when memory runs out.
    bool AddBlock() {
        MemBlockPtr block(CreateLayerBlock());
        MemBlock* raw = block.get();
        if (!block || !RecListAdd(list_.get(), &raw)) return false;
        block.release();
        return true;
    }

    MemBlock* block(uint32_t position) const {
        MemBlock* block = nullptr;
        return RecListGet(list_.get(), position, &block) ? block : nullptr;
    }

private:
    RecListPtr list_;
};

// The descriptor array of a description under construction: the layer
// arrays handed to it are freed with it unless it is released.
class LayerListArray {
public:
    explicit LayerListArray(uint32_t count)
        : lists_(static_cast<BitmapLayerList*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, count * sizeof(BitmapLayerList)))),
          count_(count) {}
    ~LayerListArray() {
        if (lists_ == nullptr) return;
        for (uint32_t i = 0; i < count_; ++i) {
            if (lists_[i].pLayers != nullptr) GlobalFree(lists_[i].pLayers);
        }
        GlobalFree(lists_);
    }
    LayerListArray(const LayerListArray&) = delete;
    LayerListArray& operator=(const LayerListArray&) = delete;

    BitmapLayerList* get() const { return lists_; }
    BitmapLayerList* release() {
        BitmapLayerList* lists = lists_;
        lists_ = nullptr;
        return lists;
    }

private:
    BitmapLayerList* lists_;
    uint32_t count_;
};

uint32_t CreateBitmapInfo(uint32_t kind, const InfoItem* packet, BitmapInfo** result) {
    PrnInfoEx merged{};
    const uint32_t found = GetStatusRecord(kind, packet, &merged);
    if (found != ERROR_SUCCESS) return found;
    if (merged.dwSize < PRNINFOEX_MIN_SIZE) return ERROR_INVALID_PARAMETER;
    const StatusContext context{kind, &merged};

    WorkingBlocks blocks;
    if (!blocks.valid() || !blocks.AddBlock()) return ERROR_NOT_ENOUGH_MEMORY;
    {
        RecListPtr codes(CreateStatusCodeList());
        if (!codes) return ERROR_NOT_ENOUGH_MEMORY;
        // A kind value without status priorities (the machine) leaves the
        // block empty; that is not a failure.  A layer that cannot be added
        // is: the picture would be incomplete.
        if (SelectStatusCodes(context, codes.get()) == ERROR_SUCCESS) {
            const uint32_t composed = ApplyLayoutRules(context, codes.get(), blocks.list());
            if (composed != ERROR_SUCCESS) return ERROR_NOT_ENOUGH_MEMORY;
        }
    }

    const uint32_t count = blocks.count();
    LayerListArray lists(count);
    if (lists.get() == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
    for (uint32_t i = 0; i < count; ++i) {
        MemBlockPtr ordered(OrderLayers(blocks.block(i + 1)));
        if (!ordered) return ERROR_NOT_ENOUGH_MEMORY;
        BitmapLayerList& list = lists.get()[i];
        list.bCode = TB58_BITMAP_LIST_CODE;
        list.dwCount = LayerCount(ordered.get());
        list.dwSize = sizeof(BitmapLayer);
        list.pLayers = static_cast<BitmapLayer*>(MemBlockDetach(ordered.get()));
    }

    auto* info = static_cast<BitmapInfo*>(GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(BitmapInfo)));
    if (info == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
    info->bCode = TB58_BITMAP_INFO_CODE;
    info->dwCount = count;
    info->dwSize = sizeof(BitmapLayerList);
    info->pLists = lists.release();
    *result = info;
    return ERROR_SUCCESS;
}

// Every list of a description is checked before anything is freed, so that
// a description that is refused stays whole.
uint32_t DisposeBitmapInfo(void* description) {
    const uint8_t code = *static_cast<const uint8_t*>(description);
    if (code == TB58_BITMAP_LIST_CODE) {
        auto* list = static_cast<BitmapLayerList*>(description);
        if (list->pLayers != nullptr) GlobalFree(list->pLayers);
        GlobalFree(list);
        return ERROR_SUCCESS;
    }
    if (code != TB58_BITMAP_INFO_CODE) return ERROR_INVALID_PARAMETER;
    auto* info = static_cast<BitmapInfo*>(description);
    if (info->pLists == nullptr && info->dwCount != 0) return ERROR_INVALID_PARAMETER;
    for (uint32_t i = 0; i < info->dwCount; ++i) {
        if (info->pLists[i].bCode != TB58_BITMAP_LIST_CODE) return ERROR_INVALID_PARAMETER;
    }
    for (uint32_t i = 0; i < info->dwCount; ++i) {
        if (info->pLists[i].pLayers != nullptr) GlobalFree(info->pLists[i].pLayers);
    }
    if (info->pLists != nullptr) GlobalFree(info->pLists);
    GlobalFree(info);
    return ERROR_SUCCESS;
}

}  // namespace
}  // namespace tb58::status

extern "C" TB58WK31_API BitmapInfo* PatCreateBitmapInfo(uint32_t kind, const InfoItem* packet, uint32_t revision) {
    using namespace tb58;
    if (packet == nullptr || (revision & 0xFF) != TB58_REVISION_STATUS || !status::IsAcceptedKind(kind)) {
        return frame::FinishPointer<BitmapInfo>(ERROR_INVALID_PARAMETER, nullptr);
    }
    BitmapInfo* info = nullptr;
    const uint32_t created = status::CreateBitmapInfo(kind, packet, &info);
    return frame::FinishPointer(created, info);
}

extern "C" TB58WK31_API int32_t PatDisposeBitmapInfo(void* description) {
    using namespace tb58;
    if (description == nullptr) return frame::Finish(ERROR_INVALID_PARAMETER);
    return frame::Finish(status::DisposeBitmapInfo(description));
}
