// Input trays: presence under IN TRAYS, the per-tray inquiries (state, paper
// size, quantity, media) and the special tray roles.
#include <cstring>

#include "core/chain_node.h"
#include "core/prn_info_ex.h"
#include "pjl/reply_handler_support.h"
#include "pjl/reply_handlers.h"
#include "pjl/reply_value_tables.h"
#include "platform/win32_api.h"

namespace tb58::pjl {
namespace {

TrayInfoNode* FindOrAddTray(PrnInfoEx& record, uint32_t tray) {
    return reinterpret_cast<TrayInfoNode*>(
        ChainFindOrAdd(&record.pTrayInfo, sizeof(TrayInfoNode), tray, &record.nTrayInfo));
}

// The shared steps of the per-tray inquiries: the tray node, then the answer.
template <typename Store>
uint32_t TrayInquiry(PjlTokenizer& tokenizer, PrnInfoEx& record, uint32_t tray, Store store) {
    TrayInfoNode* node = FindOrAddTray(record, tray);
    if (node == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
    Token answer;
    const uint32_t result = ReadInquireAnswer(tokenizer, answer);
    if (result != ERROR_SUCCESS) return result;
    store(*node, answer.text);
    return ERROR_SUCCESS;
}

uint16_t Low16(uint32_t value) { return static_cast<uint16_t>(value & 0xFFFF); }

}  // namespace

uint32_t ReadInquireAnswer(PjlTokenizer& tokenizer, Token& answer) {
    Token line_end;
    uint32_t result = Read(tokenizer, line_end);
    if (result != ERROR_SUCCESS) return result;
    if (line_end.type != PJL_TOK_EOL) return ERROR_INVALID_PARAMETER;
    result = Read(tokenizer, answer);
    if (result != ERROR_SUCCESS) return result;
    return answer.type == PJL_TOK_ENTRY ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
}

ChainNode* ChainFindOrAdd(void* first_location, uint32_t node_size, uint32_t code, uint32_t* count_location) {
    ChainNode* first = FirstNode(first_location);
    if (ChainNode* found = ChainFindCode(first, Low16(code))) return found;
    ChainNode* node = ChainNodeAlloc(node_size);
    if (node == nullptr) return nullptr;
    node->code = Low16(code);
    first = ChainAppend(first, node);
    std::memcpy(first_location, &first, sizeof first);
    ++*count_location;
    return node;
}

uint32_t HandleTrayPresence(PjlTokenizer&, PrnInfoEx& record, PjlHandlerRef, uint32_t tray) {
    return FindOrAddTray(record, tray) == nullptr ? ERROR_NOT_ENOUGH_MEMORY : ERROR_SUCCESS;
}

uint32_t HandleTrayState(PjlTokenizer& tokenizer, PrnInfoEx& record, PjlHandlerRef, uint32_t tray) {
    return TrayInquiry(tokenizer, record, tray, [](TrayInfoNode& node, const char* answer) {
        if (std::strcmp(answer, "LOCKED") == 0) {
            node.dwAttributes |= TRAY_ATTR_LOCKED;
        } else {
            node.dwAttributes &= ~TRAY_ATTR_LOCKED;
        }
    });
}

uint32_t HandleTrayPaperSize(PjlTokenizer& tokenizer, PrnInfoEx& record, PjlHandlerRef, uint32_t tray) {
    return TrayInquiry(tokenizer, record, tray, [](TrayInfoNode& node, const char* answer) {
        node.wPaperSize = Low16(LookupCodeByName(answer, kPaperSizeCodes));
    });
}

uint32_t HandleTrayMediaType(PjlTokenizer& tokenizer, PrnInfoEx& record, PjlHandlerRef, uint32_t tray) {
    return TrayInquiry(tokenizer, record, tray, [](TrayInfoNode& node, const char* answer) {
        node.wMediaCode = Low16(LookupCodeByName(answer, kMediaNameCodes));
    });
}

uint32_t HandleTrayQuantity(PjlTokenizer& tokenizer, PrnInfoEx& record, PjlHandlerRef, uint32_t tray) {
    return TrayInquiry(tokenizer, record, tray, [](TrayInfoNode& node, const char* answer) {
        node.wPaperLevel = Low16(LookupCodeByName(answer, kPaperQuantityLevels));
    });
}

uint32_t HandleSpecialTray(PjlTokenizer& tokenizer, PrnInfoEx& record, PjlHandlerRef, uint32_t attribute) {
    Token answer;
    const uint32_t result = ReadInquireAnswer(tokenizer, answer);
    if (result != ERROR_SUCCESS) return result;
    const uint16_t tray = Low16(LookupCodeByName(answer.text, kSpecialTrayCodes));
    if (tray == 0) return ERROR_SUCCESS;
    TrayInfoNode* node = FindOrAddTray(record, tray);
    if (node == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
    node->dwAttributes |= attribute;  // a role is never taken away here
    return ERROR_SUCCESS;
}

}  // namespace tb58::pjl
