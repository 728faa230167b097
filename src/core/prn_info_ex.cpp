#include "core/prn_info_ex.h"

#include <cstddef>
#include <cstring>
#include <iterator>

#include "core/chain_node.h"
#include "platform/win32_api.h"

namespace tb58 {
namespace {

// The chains' field names, in the order of ChainId, from the same list.
constexpr std::string_view kChainNames[] = {
#define TB58_CHAIN_NAME(first, count) #first,
    TB58_PRNINFOEX_CHAINS(TB58_CHAIN_NAME)
#undef TB58_CHAIN_NAME
};
static_assert(std::size(kChainNames) == kChainCount);

struct TextSlotRow {
    std::string_view name;
    char* PrnInfoEx::*field;
};

// In the order of TextId, from the same list.
constexpr TextSlotRow kTextSlots[] = {
#define TB58_TEXT_ROW(text) {#text, &PrnInfoEx::text},
    TB58_PRNINFOEX_TEXTS(TB58_TEXT_ROW)
#undef TB58_TEXT_ROW
};
static_assert(std::size(kTextSlots) == kTextCount);

void StoreFirstNode(void* first_location, ChainNode* node) {
    std::memcpy(first_location, &node, sizeof node);
}

}  // namespace

std::string_view PrnInfoExChainName(ChainId chain) { return kChainNames[static_cast<size_t>(chain)]; }

std::string_view PrnInfoExTextName(TextId text) { return kTextSlots[static_cast<size_t>(text)].name; }

int PrnInfoExSetString(PrnInfoEx* record, TextId id, std::string_view text) {
    char*& field = record->*kTextSlots[static_cast<size_t>(id)].field;
    // A text that does not change keeps its block: a monitor sets the same
    // versions and names every cycle.
    if (field != nullptr && GlobalSize(field) > text.size() && field[text.size()] == '\0' &&
        (text.empty() || std::memcmp(field, text.data(), text.size()) == 0)) {
        return 1;
    }
    if (field != nullptr) GlobalFree(field);
    field = static_cast<char*>(GlobalAlloc(GMEM_FIXED, text.size() + 1));
    if (field == nullptr) return 0;
    if (!text.empty()) std::memcpy(field, text.data(), text.size());
    field[text.size()] = '\0';
    return 1;
}

void PrnInfoExAppend(PrnInfoEx* record, ChainId chain, ChainNode* node) {
    const ChainSlot slot = PrnInfoExChain(record, chain);
    StoreFirstNode(slot.first_location, ChainAppend(slot.first, node));
    ++*slot.count_location;
}

void PrnInfoExClear(PrnInfoEx* record, ChainId chain) {
    const ChainSlot slot = PrnInfoExChain(record, chain);
    ChainFree(slot.first);
    StoreFirstNode(slot.first_location, nullptr);
    *slot.count_location = 0;
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
    PrnInfoExAppend(record, ChainId::pEngineStatus, reinterpret_cast<ChainNode*>(node));
}

}  // namespace tb58
