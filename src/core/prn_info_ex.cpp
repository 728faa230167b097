#include "core/prn_info_ex.h"

#include <cstddef>
#include <cstring>
#include <iterator>

#include "core/chain_node.h"
#include "core/record_journal.h"
#include "platform/win32_api.h"

namespace tb58 {
namespace {

struct ChainSlotRow {
    std::string_view name;
    size_t first_offset;
    size_t count_offset;
};

// Resolved in this order, exactly and case-sensitively.
constexpr ChainSlotRow kChainSlots[] = {
    {"pEngineStatus", offsetof(PrnInfoEx, pEngineStatus), offsetof(PrnInfoEx, nEngineStatus)},
    {"pLoadedEmul", offsetof(PrnInfoEx, pLoadedEmul), offsetof(PrnInfoEx, nLoadedEmul)},
    {"pLoadedFont", offsetof(PrnInfoEx, pLoadedFont), offsetof(PrnInfoEx, nLoadedFont)},
    {"pTrayInfo", offsetof(PrnInfoEx, pTrayInfo), offsetof(PrnInfoEx, nTrayInfo)},
    {"pOutBinInfo", offsetof(PrnInfoEx, pOutBinInfo), offsetof(PrnInfoEx, nOutBinInfo)},
    {"pDeviceInfo", offsetof(PrnInfoEx, pDeviceInfo), offsetof(PrnInfoEx, nDeviceInfo)},
    {"pEmulUniqInfo", offsetof(PrnInfoEx, pEmulUniqInfo), offsetof(PrnInfoEx, nEmulUniqInfo)},
    {"pCounterInfo", offsetof(PrnInfoEx, pCounterInfo), offsetof(PrnInfoEx, nCounterInfo)},
    {"pSupplyInfo", offsetof(PrnInfoEx, pSupplyInfo), offsetof(PrnInfoEx, nSupplyInfo)},
    {"pColorCorrection", offsetof(PrnInfoEx, pColorCorrection), offsetof(PrnInfoEx, nColorCorrection)},
    {"pCustomMediaInfo", offsetof(PrnInfoEx, pCustomMediaInfo), offsetof(PrnInfoEx, nCustomMediaInfo)},
};

static_assert(std::size(kChainSlots) == kChainCount);

struct StringSlotRow {
    std::string_view name;
    char* PrnInfoEx::*field;
};

constexpr StringSlotRow kStringSlots[] = {
    {"pModelName", &PrnInfoEx::pModelName},
    {"pMakerName", &PrnInfoEx::pMakerName},
    {"pDescription", &PrnInfoEx::pDescription},
    {"pSYSVersion", &PrnInfoEx::pSYSVersion},
    {"pMainProgVersion", &PrnInfoEx::pMainProgVersion},
    {"pQXSVersion", &PrnInfoEx::pQXSVersion},
};

void StoreFirstNode(void* first_location, ChainNode* node) {
    std::memcpy(first_location, &node, sizeof node);
}

}  // namespace

ChainNode* FirstNode(const void* first_location) {
    ChainNode* node = nullptr;
    std::memcpy(&node, first_location, sizeof node);
    return node;
}

int PrnInfoExSetString(PrnInfoEx* record, std::string_view slot, std::string_view text) {
    return PrnInfoExSetString(record, slot, text, nullptr);
}

int PrnInfoExSetString(PrnInfoEx* record, std::string_view slot, std::string_view text, RecordJournal* journal) {
    for (const StringSlotRow& row : kStringSlots) {
        if (row.name != slot) continue;
        char*& field = record->*row.field;
        const bool kept = journal != nullptr && journal->KeepReplacedText(&field);
        if (field != nullptr && !kept) GlobalFree(field);
        field = static_cast<char*>(GlobalAlloc(GMEM_FIXED, text.size() + 1));
        if (field == nullptr) return 0;
        if (!text.empty()) std::memcpy(field, text.data(), text.size());
        field[text.size()] = '\0';
        return 1;
    }
    return 0;
}

ChainSlot PrnInfoExChain(PrnInfoEx* record, ChainId chain) {
    const ChainSlotRow& row = kChainSlots[static_cast<size_t>(chain)];
    auto* bytes = reinterpret_cast<unsigned char*>(record);
    ChainSlot slot{};
    slot.first_location = bytes + row.first_offset;
    slot.count_location = reinterpret_cast<uint32_t*>(bytes + row.count_offset);
    slot.first = FirstNode(slot.first_location);
    return slot;
}

int PrnInfoExGetSlot(PrnInfoEx* record, std::string_view slot, ChainSlot* out) {
    for (size_t i = 0; i < kChainCount; ++i) {
        if (kChainSlots[i].name != slot) continue;
        *out = PrnInfoExChain(record, static_cast<ChainId>(i));
        return 1;
    }
    return 0;
}

int PrnInfoExAppend(PrnInfoEx* record, std::string_view slot, ChainNode* node) {
    ChainSlot chain{};
    if (!PrnInfoExGetSlot(record, slot, &chain)) return 0;
    StoreFirstNode(chain.first_location, ChainAppend(chain.first, node));
    ++*chain.count_location;
    return 1;
}

int PrnInfoExClear(PrnInfoEx* record, std::string_view slot) {
    ChainSlot chain{};
    if (!PrnInfoExGetSlot(record, slot, &chain)) return 0;
    ChainFree(chain.first);
    StoreFirstNode(chain.first_location, nullptr);
    *chain.count_location = 0;
    return 1;
}

int PrnInfoExHasDevice(const PrnInfoEx* record, uint16_t option_code) {
    return ChainFindCode(reinterpret_cast<ChainNode*>(record->pDeviceInfo), option_code) != nullptr ? 1 : 0;
}

int PrnInfoExTestDevices(const PrnInfoEx* record, const uint16_t* codes, uint32_t count, uint32_t mode) {
    if (codes == nullptr || count == 0) return 0;
    switch (mode) {
        case kDevicesAll:
            for (uint32_t i = 0; i < count; ++i) {
                if (!PrnInfoExHasDevice(record, codes[i])) return 0;
            }
            return 1;
        case kDevicesAny:
            for (uint32_t i = 0; i < count; ++i) {
                if (PrnInfoExHasDevice(record, codes[i])) return 1;
            }
            return 0;
        default:
            return PrnInfoExHasDevice(record, codes[0]);
    }
}

void PrnInfoExAddEngineStatus(PrnInfoEx* record, int32_t code) {
    auto* node = AllocNode<EngineStatusNode>();
    if (node == nullptr) return;
    node->wCode = static_cast<uint16_t>(static_cast<uint32_t>(code) & 0xFFFF);
    node->dwCode = code;
    PrnInfoExAppend(record, "pEngineStatus", reinterpret_cast<ChainNode*>(node));
}

}  // namespace tb58
