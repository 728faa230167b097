// Output bins: the OUTBINSTATUS section and one line per bin.
#include "core/chain_node.h"
#include "pjl/reply_handler_support.h"
#include "pjl/reply_handlers.h"
#include "pjl/reply_value_tables.h"
#include "platform/win32_api.h"

namespace tb58::pjl {
namespace {

constexpr uint32_t kBinStateUnknown = 255;

}  // namespace

void HandleOutBinSection(PjlReply& reply, uint32_t) {
    reply.chains.Clear(ChainId::pOutBinInfo);
    reply.record().dwOutBinState = kBinStateUnknown;
}

void HandleOutBinStatus(PjlReply& reply, uint32_t bin) {
    auto* node = reply.chains.New<OutBinInfoNode>(ChainId::pOutBinInfo);
    if (node == nullptr) return;
    node->wBinCode = static_cast<uint16_t>(bin & 0xFFFF);
    Token value;
    const uint32_t result = Read(reply, value);
    if (result == ERROR_SUCCESS && value.type == PJL_TOK_ENTRY_VALUE) node->wState = BinStateCode(value.text);
    // The bin is listed even when its state could not be read.
    reply.chains.Append(ChainId::pOutBinInfo, reinterpret_cast<ChainNode*>(node));
}

}  // namespace tb58::pjl
