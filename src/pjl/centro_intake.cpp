// PatSetCentroDataTo: checks that a reply packet answers its query, then
// feeds the reply text to the dispatcher and the device ID to its parser.
#include <cstring>

#include "Tb58Wk31Query.h"
#include "core/info_item.h"
#include "core/rec_list.h"
#include "frame/export_frame.h"
#include "pjl/device_id_parser.h"
#include "pjl/pjl_tokenizer.h"
#include "pjl/reply_dispatch.h"

namespace tb58::pjl {
namespace {

// An argument token of the reply and where the reply continues after it.
struct ReplyArgument {
    uint32_t end_offset;
    char text[kMatchTokenCapacity];
};

// Every query argument must stand in the reply as an argument token, with a
// form feed somewhere after it; each is searched from the reply's start, up
// to the reply's first misfit.  The reply is read once: its arguments, up
// to the first misfit, are listed, and each query argument is looked up in
// that list (the first occurrence counts, as a search from the start finds).
uint32_t MatchQueryAndReply(std::string_view query, std::string_view reply) {
    RecListPtr arguments(RecListCreate(sizeof(ReplyArgument), 32, 1));
    if (!arguments) return ERROR_NOT_ENOUGH_MEMORY;
    PjlTokenizer tokenizer{};
    PjlTokenizerInit(&tokenizer, reply);
    ReplyArgument argument{};
    uint32_t type = 0;
    do {
        if (PjlNextToken(&tokenizer, argument.text, sizeof argument.text, &type) != ERROR_SUCCESS) break;
        if (type != PJL_TOK_ARGUMENT) continue;
        argument.end_offset = static_cast<uint32_t>(tokenizer.position - reply.data());
        if (!RecListAdd(arguments.get(), &argument)) return ERROR_NOT_ENOUGH_MEMORY;
    } while (type != PJL_TOK_END);
    const std::string_view read = reply.substr(0, static_cast<size_t>(tokenizer.end - reply.data()));
    const size_t last_feed = read.rfind('\f');

    PjlTokenizerInit(&tokenizer, query);
    char token[kMatchTokenCapacity];
    do {
        // A malformed query text is reported as such, at whichever token.
        const uint32_t result = PjlNextToken(&tokenizer, token, sizeof token, &type);
        if (result != ERROR_SUCCESS) return result;
        if (type != PJL_TOK_ARGUMENT) continue;
        const ReplyArgument* answer = nullptr;
        RecListIter it;
        RecListIterInit(arguments.get(), &it);
        void* record = nullptr;
        while (answer == nullptr && RecListIterNextPtr(&it, &record)) {
            const auto* candidate = static_cast<const ReplyArgument*>(record);
            if (std::strcmp(candidate->text, token) == 0) answer = candidate;
        }
        if (answer == nullptr || last_feed == std::string_view::npos || last_feed < answer->end_offset) {
            return TB58_ERROR_REPLY_MISMATCH;
        }
    } while (type != PJL_TOK_END);
    return ERROR_SUCCESS;
}

bool HasData(const InfoItem* item) { return item != nullptr && item->dataLength != 0; }

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
            PjlReplyDispatch(record, kModelDispatchTable, InfoItemText(child));  // a malformed reply is no error
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
