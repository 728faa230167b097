// Input trays: presence under IN TRAYS, the per-tray inquiries (state, paper
// size, quantity, media) and the special tray roles.
#include "core/chain_node.h"
#include "pjl/reply_handler_support.h"
#include "pjl/reply_handlers.h"
#include "pjl/reply_value_tables.h"
#include "platform/win32_api.h"

namespace tb58::pjl {
namespace {

TrayInfoNode* FindOrAddTray(PjlReply& reply, uint32_t tray) {
    return reinterpret_cast<TrayInfoNode*>(reply.chains.FindOrAdd(ChainId::pTrayInfo, sizeof(TrayInfoNode), tray));
}

// The shared steps of the per-tray inquiries: the tray node, then the answer.
template <typename Store>
uint32_t TrayInquiry(PjlReply& reply, uint32_t tray, Store store) {
    TrayInfoNode* node = FindOrAddTray(reply, tray);
    if (node == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
    Token answer;
    const uint32_t result = ReadInquireAnswer(reply, answer);
    if (result != ERROR_SUCCESS) return result;
    store(*node, answer.text);
    return ERROR_SUCCESS;
}

uint16_t Low16(uint32_t value) { return static_cast<uint16_t>(value & 0xFFFF); }

}  // namespace

// The line end is passed over inside the tokenizer.  Behind a command
// line's last word the only token that is no misfit is one line end, and
// behind that no further line end can follow without a misfit, so the read
// stops at the same token as reading a line end, then the answer, would.
uint32_t ReadInquireAnswer(PjlReply& reply, Token& answer) {
    std::string_view whole;
    const uint32_t result = PjlReadReplyToken<PjlTokenTypes({PJL_TOK_EOL})>(reply, &whole, &answer.type);
    if (result != ERROR_SUCCESS) return result;
    answer.text = PjlCutToken(whole, kDispatchTokenCapacity);
    return answer.type == PJL_TOK_ENTRY ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
}

uint32_t HandleTrayPresence(PjlReply& reply, PjlHandlerRef, uint32_t tray) {
    return FindOrAddTray(reply, tray) == nullptr ? ERROR_NOT_ENOUGH_MEMORY : ERROR_SUCCESS;
}

uint32_t HandleTrayState(PjlReply& reply, PjlHandlerRef, uint32_t tray) {
    return TrayInquiry(reply, tray, [](TrayInfoNode& node, std::string_view answer) {
        if (answer == "LOCKED") {
            node.dwAttributes |= TRAY_ATTR_LOCKED;
        } else {
            node.dwAttributes &= ~TRAY_ATTR_LOCKED;
        }
    });
}

uint32_t HandleTrayPaperSize(PjlReply& reply, PjlHandlerRef, uint32_t tray) {
    return TrayInquiry(reply, tray, [](TrayInfoNode& node, std::string_view answer) {
        node.wPaperSize = Low16(kPaperSizeCodes.Lookup(answer));
    });
}

uint32_t HandleTrayMediaType(PjlReply& reply, PjlHandlerRef, uint32_t tray) {
    return TrayInquiry(reply, tray, [](TrayInfoNode& node, std::string_view answer) {
        node.wMediaCode = Low16(kMediaNameCodes.Lookup(answer));
    });
}

uint32_t HandleTrayQuantity(PjlReply& reply, PjlHandlerRef, uint32_t tray) {
    return TrayInquiry(reply, tray, [](TrayInfoNode& node, std::string_view answer) {
        node.wPaperLevel = Low16(kPaperQuantityLevels.Lookup(answer));
    });
}

uint32_t HandleSpecialTray(PjlReply& reply, PjlHandlerRef, uint32_t attribute) {
    Token answer;
    const uint32_t result = ReadInquireAnswer(reply, answer);
    if (result != ERROR_SUCCESS) return result;
    const uint16_t tray = Low16(kSpecialTrayCodes.Lookup(answer.text));
    if (tray == 0) return ERROR_SUCCESS;
    TrayInfoNode* node = FindOrAddTray(reply, tray);
    if (node == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
    node->dwAttributes |= attribute;  // a role is never taken away here
    return ERROR_SUCCESS;
}

}  // namespace tb58::pjl
