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
    auto* node = reply.chains.New<LoadedEmulNode>(ChainId::pLoadedEmul);
    if (node == nullptr) return;  // the item is skipped
    node->wEmulCode = static_cast<uint16_t>(code & 0xFFFF);
    CopyToField(node->szVersion, 16, version);  // at most 15 characters
    reply.chains.Append(ChainId::pLoadedEmul, reinterpret_cast<ChainNode*>(node));
    if (node->wEmulCode == TB58_EMULATION_WEXA) PrnInfoExSetString(&reply.record(), TextId::pMainProgVersion, version);
    if (node->wEmulCode == TB58_EMULATION_POSTSCRIPT) PrnInfoExSetString(&reply.record(), TextId::pQXSVersion, version);
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

void HandleDeviceInfoReset(PjlReply& reply, uint32_t) { reply.chains.Clear(ChainId::pDeviceInfo); }

void HandleInstalledOption(PjlReply& reply, uint32_t option) {
    auto* node = reply.chains.New<DeviceInfoNode>(ChainId::pDeviceInfo);
    if (node == nullptr) return;
    node->wOptionCode = static_cast<uint16_t>(option & 0xFFFF);
    reply.chains.Append(ChainId::pDeviceInfo, reinterpret_cast<ChainNode*>(node));
}

void HandleVersionSection(PjlReply& reply, uint32_t) {
    reply.chains.Clear(ChainId::pLoadedEmul);
    Token count;
    if (Read(reply, count) != ERROR_SUCCESS || count.type != PJL_TOK_COUNT) return;
    const auto items = static_cast<uint32_t>(DecimalValue(count.text));
    uint32_t type = count.type;
    for (uint32_t seen = 0; seen < items && type != PJL_TOK_END;) {
        Token name;
        if (Read(reply, name) != ERROR_SUCCESS) return;
        type = name.type;
        if (name.type != PJL_TOK_ITEM) continue;
        ++seen;
        Token value;
        const uint32_t result = Read(reply, value);
        type = value.type;
        if (result != ERROR_SUCCESS || value.type != PJL_TOK_ITEM_VALUE) continue;
        const uint32_t code = kEmulationVersionCodes.Lookup(name.text);
        if (code == kFirmwareVersion) {
            PrnInfoExSetString(&reply.record(), TextId::pSYSVersion, value.text);
        } else {
            AddEmulation(reply, code, value.text);
        }
    }
}

void HandleInTraySection(PjlReply& reply, uint32_t) {
    Token count;
    if (Read(reply, count) != ERROR_SUCCESS || count.type != PJL_TOK_COUNT) return;
    // As many trays as the record holds: the nodes are updated in place.
    if (static_cast<uint32_t>(DecimalValue(count.text)) != reply.record().nTrayInfo) {
        reply.chains.Clear(ChainId::pTrayInfo);
    }
}

void HandleMemorySize(PjlReply& reply, uint32_t) {
    Token value;
    if (Read(reply, value) == ERROR_SUCCESS && value.type == PJL_TOK_ENTRY_VALUE) {
        reply.record().dwMemorySize = static_cast<uint32_t>(DecimalValue(value.text) / 1024);
    }
}

void HandlePunchUnit(PjlReply& reply, uint32_t) {
    Token count;
    if (Read(reply, count) != ERROR_SUCCESS || count.type != PJL_TOK_COUNT) return;
    const auto wanted = static_cast<uint32_t>(DecimalValue(count.text));
    if (wanted > kMaxPunchKeywords) return;

    Token keywords[kMaxPunchKeywords];
    uint32_t collected = 0;
    uint32_t type = count.type;
    while (collected < wanted && type != PJL_TOK_END) {
        Token token;
        if (Read(reply, token) != ERROR_SUCCESS) return;
        type = token.type;
        if (token.type == PJL_TOK_ITEM) keywords[collected++] = token;
    }
    for (const PunchRow* row = kPunchTable; row->keywords[0] != nullptr; ++row) {
        if (!PunchRowMatches(*row, keywords, collected)) continue;
        HandleInstalledOption(reply, row->option);
        return;
    }
}

}  // namespace tb58::pjl
