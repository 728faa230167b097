// PatSetCentroDataTo: checks that a reply packet answers its query, then
// feeds the reply text to the dispatcher and the device ID to its parser.
// Nothing is stored before the check has passed, so the check reads the
// reply on its own, as far as the query's last answer; the dispatcher then
// walks it once, start to end.
#include <span>
#include <string_view>

#include "Tb58Wk31Query.h"
#include "core/info_item.h"
#include "frame/export_frame.h"
#include "pjl/device_id_parser.h"
#include "pjl/pjl_tokenizer.h"
#include "pjl/reply_dispatch.h"

namespace tb58::pjl {
namespace {

// The query's arguments are matched in groups of this many, each group with
// one walk over the reply; the queries the library builds fit in one.
constexpr size_t kArgumentGroup = 64;

struct QueryArgument {
    std::string_view text;  // cut as the match reads tokens (up to 99 characters)
    bool answered;
};

// Marks the arguments that the reply answers: an argument token of the same
// text, read before the reply's first misfit, with a form feed somewhere
// after it.  The reply is walked from its start once for the whole group;
// the walk ends early when every argument is answered, or when no form feed
// is left ahead.
void MarkAnswered(std::span<QueryArgument> arguments, std::string_view reply) {
    const size_t last_feed = reply.rfind('\f');
    if (last_feed == std::string_view::npos) return;
    size_t open = arguments.size();
    PjlTokenizer tokenizer{};
    PjlTokenizerInit(&tokenizer, reply);
    std::string_view token;
    uint32_t type = PJL_TOK_END;
    while (open != 0 && PjlReadToken(&tokenizer, &token, &type) == ERROR_SUCCESS && type != PJL_TOK_END) {
        if (type != PJL_TOK_ARGUMENT) continue;
        if (static_cast<size_t>(tokenizer.position - reply.data()) > last_feed) return;
        const std::string_view answer = PjlCutToken(token, kMatchTokenCapacity);
        for (QueryArgument& argument : arguments) {
            if (!argument.answered && argument.text == answer) {
                argument.answered = true;
                --open;
            }
        }
    }
}

// Every argument of the query text must be answered by the reply (see
// MarkAnswered).  The query is read in order: an unanswered argument gives
// TB58_ERROR_REPLY_MISMATCH, a misfit in the query its error (13),
// whichever comes first.
uint32_t MatchQueryAndReply(std::string_view query, std::string_view reply) {
    PjlTokenizer tokenizer{};
    PjlTokenizerInit(&tokenizer, query);
    uint32_t type = 0;
    uint32_t query_result = ERROR_SUCCESS;
    while (query_result == ERROR_SUCCESS && type != PJL_TOK_END) {
        QueryArgument group[kArgumentGroup];
        size_t count = 0;
        while (count < kArgumentGroup) {
            std::string_view token;
            query_result = PjlReadToken(&tokenizer, &token, &type);
            if (query_result != ERROR_SUCCESS || type == PJL_TOK_END) break;
            if (type == PJL_TOK_ARGUMENT) group[count++] = {PjlCutToken(token, kMatchTokenCapacity), false};
        }
        const std::span<QueryArgument> arguments(group, count);
        MarkAnswered(arguments, reply);
        for (const QueryArgument& argument : arguments) {
            if (!argument.answered) return TB58_ERROR_REPLY_MISMATCH;
        }
    }
    return query_result;
}

bool HasData(const InfoItem* item) { return item != nullptr && item->dataLength != 0; }

// Checks that the reply answers the query the packet carries.
uint32_t CheckPairing(const InfoItem* root) {
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
    return MatchQueryAndReply(InfoItemText(query_text), InfoItemText(reply_text));
}

uint32_t TakeCentroData(const InfoItem* root, PrnInfoEx& record) {
    const uint32_t paired = CheckPairing(root);
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
            PjlReplyDispatch(record, kModelDispatchIndex, InfoItemText(child));
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
