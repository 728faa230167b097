// INFO TZMO: the emulation-unique information of the TZMO emulation (15),
// kept in one node that later replies update in place.
#include "core/chain_node.h"
#include "pjl/reply_handler_support.h"
#include "pjl/reply_handlers.h"
#include "pjl/reply_value_tables.h"
#include "platform/win32_api.h"

namespace tb58::pjl {

constexpr uint16_t kTzmoEmulation = 15;

void HandleEmulUniqInfo(PjlReply& reply, uint32_t) {
    auto* node = reinterpret_cast<EmulUniqInfoNode*>(
        ChainFindCode(reinterpret_cast<ChainNode*>(reply.record().pEmulUniqInfo), kTzmoEmulation));
    if (node == nullptr) {
        node = AllocNode<EmulUniqInfoNode>();
        if (node == nullptr) return;
        node->wEmulCode = kTzmoEmulation;
        reply.chains.Append(ChainId::pEmulUniqInfo, reinterpret_cast<ChainNode*>(node));
    }
    Token key;
    do {
        if (Read(reply, key) != ERROR_SUCCESS) return;
        if (key.type != PJL_TOK_ENTRY) continue;
        Token value;
        if (Read(reply, value) != ERROR_SUCCESS) return;
        if (key.text == "MEMORYUSAGE") {
            node->dwMemoryUsage = kMemoryUsageCodes.Lookup(value.text);
        } else if (key.text == "OTHER") {
            CopyToField(node->szOther, sizeof node->szOther, value.text);
        } else if (key.text == "IMAGEROTATION") {
            node->dwImageRotation = kImageRotationCodes.Lookup(value.text);
        }
        key.type = value.type;
    } while (key.type != PJL_TOK_FF && key.type != PJL_TOK_END);
}

}  // namespace tb58::pjl
