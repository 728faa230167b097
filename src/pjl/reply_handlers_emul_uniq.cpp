// INFO TZMO: the emulation-unique information of the TZMO emulation (15),
// kept in one node that later replies update in place.
#include "core/chain_node.h"
#include "pjl/reply_handler_support.h"
#include "pjl/reply_handlers.h"
#include "pjl/reply_value_tables.h"
#include "platform/win32_api.h"

namespace tb58::pjl {

constexpr uint16_t kTzmoEmulation = 15;

uint32_t HandleEmulUniqInfo(PjlReply& reply, PjlHandlerRef, uint32_t) {
    auto* node = reinterpret_cast<EmulUniqInfoNode*>(
        ChainFindCode(reinterpret_cast<ChainNode*>(reply.record().pEmulUniqInfo), kTzmoEmulation));
    if (node == nullptr) {
        node = AllocNode<EmulUniqInfoNode>();
        if (node == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
        node->wEmulCode = kTzmoEmulation;
        reply.chains.Append(ChainId::pEmulUniqInfo, reinterpret_cast<ChainNode*>(node));
    }
    Token key;
    do {
        uint32_t result = Read(reply, key);
        if (result != ERROR_SUCCESS) return result;
        if (key.type != PJL_TOK_ENTRY) continue;
        Token value;
        result = Read(reply, value);
        if (result != ERROR_SUCCESS) return result;
        if (key.text == "MEMORYUSAGE") {
            node->dwMemoryUsage = kMemoryUsageCodes.Lookup(value.text);
        } else if (key.text == "OTHER") {
            CopyToField(node->szOther, sizeof node->szOther, value.text);
        } else if (key.text == "IMAGEROTATION") {
            node->dwImageRotation = kImageRotationCodes.Lookup(value.text);
        }
        key.type = value.type;
    } while (key.type != PJL_TOK_FF && key.type != PJL_TOK_END);
    return ERROR_SUCCESS;
}

}  // namespace tb58::pjl
