// The INFO CONFIG sections: installed options, emulation versions, the tray
// count, memory and the punch unit.
#include "Tb58Wk31Codes.h"
#include "core/chain_node.h"
#include "core/prn_info_ex.h"
#include "pjl/reply_handler_support.h"
#include "pjl/reply_handlers.h"
#include "pjl/reply_value_tables.h"
#include "platform/win32_api.h"

namespace tb58::pjl {
namespace {

constexpr uint32_t kMaxPunchKeywords = 5;

void AddEmulation(PjlReply& reply, uint32_t code, std::string_view version) {
    auto* node = AllocNode<LoadedEmulNode>();
    if (node == nullptr) return;  // the item is skipped
    node->wEmulCode = static_cast<uint16_t>(code & 0xFFFF);
    CopyToField(node->szVersion, 16, version);  // at most 15 characters
    reply.chains.Append(ChainId::pLoadedEmul, reinterpret_cast<ChainNode*>(node));
    if (node->wEmulCode == TB58_EMULATION_WEXA) PrnInfoExSetString(&reply.record(), TextId::pMainProgVersion, version, reply.chains.journal());
    if (node->wEmulCode == TB58_EMULATION_POSTSCRIPT) PrnInfoExSetString(&reply.record(), TextId::pQXSVersion, version, reply.chains.journal());
}

// Whether a punch row names exactly the collected keywords.
bool PunchRowMatches(const PunchRow& row, const Token (&keywords)[kMaxPunchKeywords], uint32_t collected) {
    for (uint32_t slot = 0; slot < kPunchKeywords; ++slot) {
        const char* wanted = row.keywords[slot];
        if (slot >= collected) {
            if (wanted != nullptr) return false;
            continue;
        }
        if (wanted == nullptr) return false;
        bool found = false;
        for (uint32_t k = 0; k < collected && !found; ++k) found = keywords[k].text == wanted;
        if (!found) return false;
    }
    return true;
}

}  // namespace

uint32_t HandleDeviceInfoReset(PjlReply& reply, PjlHandlerRef, uint32_t) {
    reply.chains.Clear(ChainId::pDeviceInfo);
    return ERROR_SUCCESS;
}

uint32_t HandleInstalledOption(PjlReply& reply, PjlHandlerRef, uint32_t option) {
    auto* node = AllocNode<DeviceInfoNode>();
    if (node == nullptr) return ERROR_NOT_ENOUGH_MEMORY;
    node->wOptionCode = static_cast<uint16_t>(option & 0xFFFF);
    reply.chains.Append(ChainId::pDeviceInfo, reinterpret_cast<ChainNode*>(node));
    return ERROR_SUCCESS;
}

uint32_t HandleVersionSection(PjlReply& reply, PjlHandlerRef, uint32_t) {
    reply.chains.Clear(ChainId::pLoadedEmul);
    Token count;
    uint32_t result = Read(reply, count);
    if (result != ERROR_SUCCESS) return result;
    if (count.type != PJL_TOK_COUNT) return ERROR_SUCCESS;
    const auto items = static_cast<uint32_t>(DecimalValue(count.text));
    uint32_t type = count.type;
    for (uint32_t seen = 0; seen < items && type != PJL_TOK_END;) {
        Token name;
        result = Read(reply, name);
        if (result != ERROR_SUCCESS) return result;
        type = name.type;
        if (name.type != PJL_TOK_ITEM) continue;
        ++seen;
        Token value;
        result = Read(reply, value);
        type = value.type;
        if (result != ERROR_SUCCESS || value.type != PJL_TOK_ITEM_VALUE) continue;
        const uint32_t code = kEmulationVersionCodes.Lookup(name.text);
        if (code == kFirmwareVersion) {
            PrnInfoExSetString(&reply.record(), TextId::pSYSVersion, value.text, reply.chains.journal());
        } else {
            AddEmulation(reply, code, value.text);
        }
    }
    return result;
}

uint32_t HandleInTraySection(PjlReply& reply, PjlHandlerRef, uint32_t) {
    Token count;
    const uint32_t result = Read(reply, count);
    if (result != ERROR_SUCCESS) return result;
    if (count.type != PJL_TOK_COUNT) return ERROR_INVALID_PARAMETER;
    // As many trays as the record holds: the nodes are updated in place.
    if (static_cast<uint32_t>(DecimalValue(count.text)) != reply.record().nTrayInfo) {
        reply.chains.Clear(ChainId::pTrayInfo);
    }
    return ERROR_SUCCESS;
}

uint32_t HandleMemorySize(PjlReply& reply, PjlHandlerRef, uint32_t) {
    Token value;
    const uint32_t result = Read(reply, value);
    if (result != ERROR_SUCCESS) return result;
    if (value.type == PJL_TOK_ENTRY_VALUE) {
        reply.record().dwMemorySize = static_cast<uint32_t>(DecimalValue(value.text) / 1024);
    }
    return ERROR_SUCCESS;
}

uint32_t HandlePunchUnit(PjlReply& reply, PjlHandlerRef, uint32_t) {
    Token count;
    uint32_t result = Read(reply, count);
    if (result != ERROR_SUCCESS) return result;
    if (count.type != PJL_TOK_COUNT) return ERROR_INVALID_PARAMETER;
    const auto wanted = static_cast<uint32_t>(DecimalValue(count.text));
    if (wanted > kMaxPunchKeywords) return ERROR_INVALID_PARAMETER;

    Token keywords[kMaxPunchKeywords];
    uint32_t collected = 0;
    uint32_t type = count.type;
    while (collected < wanted && type != PJL_TOK_END) {
        Token token;
        result = Read(reply, token);
        if (result != ERROR_SUCCESS) return result;
        type = token.type;
        if (token.type == PJL_TOK_ITEM) keywords[collected++] = token;
    }
    for (const PunchRow* row = kPunchTable; row->keywords[0] != nullptr; ++row) {
        if (!PunchRowMatches(*row, keywords, collected)) continue;
        return HandleInstalledOption(reply, PjlHandlerRef{nullptr}, row->option);
    }
    return ERROR_SUCCESS;
}

}  // namespace tb58::pjl
