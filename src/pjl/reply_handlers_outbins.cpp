// Output bins: the OUTBINSTATUS section and one line per bin.
#include <cstring>

#include "core/chain_node.h"
#include "core/prn_info_ex.h"
#include "pjl/reply_handler_support.h"
#include "pjl/reply_handlers.h"
#include "platform/win32_api.h"

namespace tb58::pjl {
namespace {

constexpr uint32_t kBinStateUnknown = 255;

uint16_t BinState(const char* value) {
    if (std::strcmp(value, "PAPEREXIST") == 0) return 1;
    if (std::strcmp(value, "FULL") == 0) return 2;
    return 0;  // "READY" and anything else
}

}  // namespace

uint32_t HandleOutBinSection(PjlTokenizer&, PrnInfoEx& record, PjlHandlerRef, uint32_t) {
    PrnInfoExClear(&record, "pOutBinInfo");
    record.dwOutBinState = kBinStateUnknown;
    return ERROR_SUCCESS;
}

uint32_t HandleOutBinStatus(PjlTokenizer& tokenizer, PrnInfoEx& record, PjlHandlerRef, uint32_t bin) {
    auto* node = AllocNode<OutBinInfoNode>();
    if (node == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
    node->wBinCode = static_cast<uint16_t>(bin & 0xFFFF);
    Token value;
    const uint32_t result = Read(tokenizer, value);
    if (result == ERROR_SUCCESS && value.type == PJL_TOK_ENTRY_VALUE) node->wState = BinState(value.text);
    // The bin is listed even when its state could not be read.
    PrnInfoExAppend(&record, "pOutBinInfo", reinterpret_cast<ChainNode*>(node));
    return result;
}

}  // namespace tb58::pjl
