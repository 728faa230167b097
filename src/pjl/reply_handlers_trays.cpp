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
void TrayInquiry(PjlReply& reply, uint32_t tray, Store store) {
    TrayInfoNode* node = FindOrAddTray(reply, tray);
    if (node == nullptr) return;
    Token answer;
    if (ReadInquireAnswer(reply, answer) == ERROR_SUCCESS) store(*node, answer.text);
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

void HandleTrayPresence(PjlReply& reply, uint32_t tray) { FindOrAddTray(reply, tray); }

void HandleTrayState(PjlReply& reply, uint32_t tray) {
    TrayInquiry(reply, tray, [](TrayInfoNode& node, std::string_view answer) {
        if (answer == "LOCKED") {
            node.dwAttributes |= TRAY_ATTR_LOCKED;
        } else {
            node.dwAttributes &= ~TRAY_ATTR_LOCKED;
        }
    });
}

void HandleTrayPaperSize(PjlReply& reply, uint32_t tray) {
    TrayInquiry(reply, tray, [](TrayInfoNode& node, std::string_view answer) {
        node.wPaperSize = Low16(kPaperSizeCodes.Lookup(answer));
    });
}

void HandleTrayMediaType(PjlReply& reply, uint32_t tray) {
    TrayInquiry(reply, tray, [](TrayInfoNode& node, std::string_view answer) {
        node.wMediaCode = Low16(kMediaNameCodes.Lookup(answer));
    });
}

void HandleTrayQuantity(PjlReply& reply, uint32_t tray) {
    TrayInquiry(reply, tray, [](TrayInfoNode& node, std::string_view answer) {
        node.wPaperLevel = Low16(kPaperQuantityLevels.Lookup(answer));
    });
}

void HandleSpecialTray(PjlReply& reply, uint32_t attribute) {
    Token answer;
    if (ReadInquireAnswer(reply, answer) != ERROR_SUCCESS) return;
    const uint16_t tray = Low16(kSpecialTrayCodes.Lookup(answer.text));
    if (tray == 0) return;
    TrayInfoNode* node = FindOrAddTray(reply, tray);
    if (node != nullptr) node->dwAttributes |= attribute;  // a role is never taken away here
}

}  // namespace tb58::pjl
