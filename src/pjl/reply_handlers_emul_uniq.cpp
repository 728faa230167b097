// INFO TZMO: the emulation-unique information of the TZMO emulation (15),
// kept in one node that later replies update in place.
#include <cstring>

#include "core/chain_node.h"
#include "core/prn_info_ex.h"
#include "pjl/reply_handler_support.h"
#include "pjl/reply_handlers.h"
#include "pjl/reply_value_tables.h"
#include "platform/win32_api.h"

namespace tb58::pjl {

constexpr uint16_t kTzmoEmulation = 15;

uint32_t HandleEmulUniqInfo(PjlTokenizer& tokenizer, PrnInfoEx& record, PjlHandlerRef, uint32_t) {
    auto* node = reinterpret_cast<EmulUniqInfoNode*>(
        ChainFindCode(reinterpret_cast<ChainNode*>(record.pEmulUniqInfo), kTzmoEmulation));
    if (node == nullptr) {
        node = AllocNode<EmulUniqInfoNode>();
        if (node == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
        node->wEmulCode = kTzmoEmulation;
        PrnInfoExAppend(&record, "pEmulUniqInfo", reinterpret_cast<ChainNode*>(node));
    }
    Token key;
    do {
        uint32_t result = Read(tokenizer, key);
        if (result != ERROR_SUCCESS) return result;
        if (key.type != PJL_TOK_ENTRY) continue;
        Token value;
        result = Read(tokenizer, value);
        if (result != ERROR_SUCCESS) return result;
        if (std::strcmp(key.text, "MEMORYUSAGE") == 0) {
            node->dwMemoryUsage = LookupCodeByName(value.text, kMemoryUsageCodes);
        } else if (std::strcmp(key.text, "OTHER") == 0) {
            lstrcpynA(node->szOther, value.text, sizeof node->szOther);
        } else if (std::strcmp(key.text, "IMAGEROTATION") == 0) {
            node->dwImageRotation = LookupCodeByName(value.text, kImageRotationCodes);
        }
        key.type = value.type;
    } while (key.type != PJL_TOK_FF && key.type != PJL_TOK_END);
    return ERROR_SUCCESS;
}

}  // namespace tb58::pjl
