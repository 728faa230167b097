#include "status/status_record.h"

#include <cstring>

#include "core/info_item.h"
#include "platform/win32_api.h"
#include "status/status_context.h"

namespace tb58::status {
namespace {

// The status packet child that holds the record of a function kind.
uint32_t ChildKeyOfKind(uint32_t kind, const InfoItem* root) {
    switch (kind & 0xFFFFu) {
        case 1: return ITEM_STATUS_PRINTER;
        case 2: return ITEM_STATUS_SCANNER;
        case 4: return ITEM_STATUS_FUNCTION4;
        case 8: return ITEM_STATUS_COPIER;
        case 16: return ITEM_STATUS_PRINTER;
        default: return root->dataLength;  // the machine: the root names its child
    }
}

const PrnInfoEx* RecordOfChild(InfoItem* first_child, uint32_t key) {
    const PrnInfoEx* record = nullptr;
    InfoItemCopyData(InfoItemFind(first_child, key), &record, sizeof record, SizeRule::kExact);
    return record;
}

template <typename T>
void TakeIfPresent(T*& field, T* overall) {
    if (overall != nullptr) field = overall;
}

// A chain and its count come from the overall record when it has the chain.
template <typename Node>
void TakeChain(Node*& chain, uint32_t& count, const PrnInfoEx& overall, Node* PrnInfoEx::*overall_chain,
               uint32_t PrnInfoEx::*overall_count) {
    if (overall.*overall_chain == nullptr) return;
    chain = overall.*overall_chain;
    count = overall.*overall_count;
}

}  // namespace

uint32_t GetStatusRecord(uint32_t kind, const InfoItem* packet, PrnInfoEx* out) {
    if (!IsAcceptedKind(kind)) return ERROR_INVALID_PARAMETER;
    uint32_t key = 0;
    if (!InfoItemGetInfo(packet, &key, nullptr) || key != ITEM_STATUS) return ERROR_INVALID_PARAMETER;
    InfoItem* children = InfoItemFirstChild(packet);
    const PrnInfoEx* overall = RecordOfChild(children, ITEM_STATUS_MACHINE);
    const PrnInfoEx* own = RecordOfChild(children, ChildKeyOfKind(kind, packet));
    if (overall == nullptr || own == nullptr) return ERROR_INVALID_PARAMETER;
    if (overall->dwSize < PRNINFOEX_MIN_SIZE || own->dwSize < PRNINFOEX_MIN_SIZE) return ERROR_INVALID_PARAMETER;

    std::memcpy(out, own, PRNINFOEX_USED_SIZE);
    TakeChain(out->pEngineStatus, out->nEngineStatus, *overall, &PrnInfoEx::pEngineStatus, &PrnInfoEx::nEngineStatus);
    TakeChain(out->pLoadedEmul, out->nLoadedEmul, *overall, &PrnInfoEx::pLoadedEmul, &PrnInfoEx::nLoadedEmul);
    TakeChain(out->pLoadedFont, out->nLoadedFont, *overall, &PrnInfoEx::pLoadedFont, &PrnInfoEx::nLoadedFont);
    TakeChain(out->pTrayInfo, out->nTrayInfo, *overall, &PrnInfoEx::pTrayInfo, &PrnInfoEx::nTrayInfo);
    TakeChain(out->pOutBinInfo, out->nOutBinInfo, *overall, &PrnInfoEx::pOutBinInfo, &PrnInfoEx::nOutBinInfo);
    TakeChain(out->pDeviceInfo, out->nDeviceInfo, *overall, &PrnInfoEx::pDeviceInfo, &PrnInfoEx::nDeviceInfo);
    TakeChain(out->pEmulUniqInfo, out->nEmulUniqInfo, *overall, &PrnInfoEx::pEmulUniqInfo,
              &PrnInfoEx::nEmulUniqInfo);
#define TB58_TAKE_TEXT(field) TakeIfPresent(out->field, overall->field);
    TB58_PRNINFOEX_TEXTS(TB58_TAKE_TEXT)
#undef TB58_TAKE_TEXT
    out->dwMemorySize = overall->dwMemorySize;
    out->bModelCode = overall->bModelCode;
    return ERROR_SUCCESS;
}

}  // namespace tb58::status
