// PatSetCentroDataTo: checks that a reply packet answers its query, then
// feeds the reply text to the dispatcher and the device ID to its parser.
#include <cstring>

#include "Tb58Wk31Query.h"
#include "core/info_item.h"
#include "core/mem_block.h"
#include "frame/export_frame.h"
#include "pjl/device_id_parser.h"
#include "pjl/pjl_token_tape.h"
#include "pjl/pjl_tokenizer.h"
#include "pjl/reply_dispatch.h"

namespace tb58::pjl {
namespace {

// Every query argument must stand in the reply as an argument token, with a
// form feed somewhere after it; each is searched from the reply's start, up
// to the reply's first misfit.  The reply is read once, onto the tape, which
// the dispatcher then replays; the reply's arguments before the first misfit
// are listed, and each query argument is looked up in that list (the first
// occurrence counts, as a search from the start finds).
uint32_t MatchQueryAndReply(std::string_view query, std::string_view reply, PjlTokenTape& tape) {
    if (!tape.Record(reply)) return ERROR_NOT_ENOUGH_MEMORY;
    // The reply's argument tokens before its first misfit, as the query's
    // are read (cut to the match's capacity, trailing blanks dropped).
    struct Argument {
        uint32_t start;
        uint32_t length;
        uint32_t after;
    };
    MemBlockPtr arguments(MemBlockCreate(sizeof(Argument) * 64, 1));
    if (!arguments) return ERROR_NOT_ENOUGH_MEMORY;
    for (const PjlTokenRecord* token = tape.begin(); token != tape.end() && token->failed == 0; ++token) {
        if (token->type != PJL_TOK_ARGUMENT) continue;
        const std::string_view cut = PjlCutToken(reply.substr(token->start, token->length), kMatchTokenCapacity);
        const Argument argument{token->start, static_cast<uint32_t>(cut.size()), token->after};
        if (!MemBlockWrite(arguments.get(), &argument, sizeof argument)) return ERROR_NOT_ENOUGH_MEMORY;
    }
    const auto* listed = static_cast<const Argument*>(arguments->data);
    const uint32_t listed_count = MemBlockGetSize(arguments.get()) / sizeof(Argument);
    const size_t last_feed = tape.text().rfind('\f');

    PjlTokenizer tokenizer{};
    PjlTokenizerInit(&tokenizer, query);
    char token[kMatchTokenCapacity];
    uint32_t type = 0;
    do {
        // A malformed query text is reported as such, at whichever token.
        const uint32_t result = PjlNextToken(&tokenizer, token, sizeof token, &type);
        if (result != ERROR_SUCCESS) return result;
        if (type != PJL_TOK_ARGUMENT) continue;
        const std::string_view wanted(token);
        const Argument* answer = nullptr;
        for (uint32_t i = 0; answer == nullptr && i < listed_count; ++i) {
            if (listed[i].length == wanted.size() &&
                std::memcmp(reply.data() + listed[i].start, wanted.data(), wanted.size()) == 0) {
                answer = &listed[i];
            }
        }
        if (answer == nullptr || last_feed == std::string_view::npos || last_feed < answer->after) {
            return TB58_ERROR_REPLY_MISMATCH;
        }
    } while (type != PJL_TOK_END);
    return ERROR_SUCCESS;
}

bool HasData(const InfoItem* item) { return item != nullptr && item->dataLength != 0; }

// Checks that the reply answers the query the packet carries.  When the
// reply text was read for that, *taped is its item and tape holds its tokens.
uint32_t CheckPairing(const InfoItem* root, PjlTokenTape& tape, const InfoItem** taped) {
    InfoItem* children = InfoItemFirstChild(root);
    const InfoItem* query = InfoItemFind(children, ITEM_QUERY_INFO);
    if (query == nullptr) return ERROR_SUCCESS;
    InfoItem* query_children = InfoItemFirstChild(query);
    if (InfoItemFind(query_children, ITEM_DEVICE_ID) != nullptr &&
        !HasData(InfoItemFind(children, ITEM_DEVICE_ID))) {
        return TB58_ERROR_REPLY_MISMATCH;
    }
    const InfoItem* query_text = InfoItemFind(query_children, ITEM_PJL_TEXT);
    if (query_text == nullptr) return ERROR_SUCCESS;
    const InfoItem* reply_text = InfoItemFind(children, ITEM_PJL_TEXT);
    if (!HasData(reply_text)) return TB58_ERROR_REPLY_MISMATCH;
    const uint32_t matched = MatchQueryAndReply(InfoItemText(query_text), InfoItemText(reply_text), tape);
    if (matched == ERROR_SUCCESS) *taped = reply_text;
    return matched;
}

uint32_t TakeCentroData(const InfoItem* root, PrnInfoEx& record) {
    PjlTokenTape tape;
    const InfoItem* taped = nullptr;
    const uint32_t paired = CheckPairing(root, tape, &taped);
    if (paired != ERROR_SUCCESS) return paired;
    if (root->key == ITEM_EMUL_CENTRO_DATA) {
        uint32_t emulation = 0;
        if (InfoItemCopyData(root, &emulation, sizeof emulation, SizeRule::kExact) == 0 ||
            emulation != TB58_EMULATION_TZMO) {
            return ERROR_INVALID_PARAMETER;
        }
    }
    for (const InfoItem* child = InfoItemFirstChild(root); child != nullptr; child = InfoItemNext(child)) {
        if (child->key == ITEM_PJL_TEXT) {
            if (child->dataLength == 0) return ERROR_INVALID_PARAMETER;
            // A malformed reply is no error.
            if (child == taped) {
                PjlReplyDispatch(record, kModelDispatchTable, tape);
            } else {
                PjlReplyDispatch(record, kModelDispatchTable, InfoItemText(child));
            }
        } else if (child->key == ITEM_DEVICE_ID) {
            if (child->dataLength == 0) return ERROR_INVALID_PARAMETER;
            const uint32_t parsed = ParseDeviceId(record, InfoItemText(child));
            if (parsed != ERROR_SUCCESS) return parsed;
        }
    }
    return ERROR_SUCCESS;
}

}  // namespace
}  // namespace tb58::pjl

extern "C" TB58WK31_API int32_t PatSetCentroDataTo(const InfoItem* packet, uint32_t, PrnInfoEx* record,
                                                   uint32_t revision) {
    using namespace tb58;
    if (packet == nullptr || record == nullptr || (revision & 0xFF) != TB58_REVISION_QUERY ||
        (packet->key != ITEM_CENTRO_DATA && packet->key != ITEM_EMUL_CENTRO_DATA)) {
        return frame::Finish(ERROR_INVALID_PARAMETER);
    }
    if (record->dwSize < PRNINFOEX_MIN_SIZE) return frame::Finish(ERROR_INVALID_PARAMETER);
    return frame::Finish(pjl::TakeCentroData(packet, *record));
}
