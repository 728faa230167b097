// PatSetCentroDataTo: checks that a reply packet answers its query, then
// feeds the reply text to the dispatcher and the device ID to its parser.
#include <span>
#include <string_view>

#include "Tb58Wk31Query.h"
#include "core/info_item.h"
#include "core/record_journal.h"
#include "frame/export_frame.h"
#include "pjl/device_id_parser.h"
#include "pjl/pjl_tokenizer.h"
#include "pjl/reply_dispatch.h"

namespace tb58::pjl {
namespace {

// The query's arguments are held in groups of this many; the queries the
// library builds fit in one.
constexpr size_t kArgumentGroup = 64;

// The query's arguments in query order, up to its first misfit or up to
// the group's size: result is the query's misfit (13) or 0, more says that
// arguments are left over for the next group.
struct QueryArguments {
    std::span<PjlQueryArgument> arguments;
    uint32_t result = ERROR_SUCCESS;
    bool more = false;
};

// The pairing looks at argument tokens, the end and misfits only.
constexpr uint32_t kAllButArguments = ~PjlTokenTypes({PJL_TOK_ARGUMENT});

QueryArguments ReadQueryArguments(PjlTokenizer& tokenizer, std::span<PjlQueryArgument> group) {
    QueryArguments read;
    size_t count = 0;
    uint32_t type = 0;
    while (count < group.size()) {
        std::string_view token;
        read.result = PjlReadTokenPassing<kAllButArguments>(&tokenizer, &token, &type);
        if (read.result != ERROR_SUCCESS || type == PJL_TOK_END) break;
        if (type == PJL_TOK_ARGUMENT) group[count++] = {PjlCutToken(token, kMatchTokenCapacity), false};
    }
    read.more = count == group.size();
    read.arguments = group.first(count);
    return read;
}

PjlAnswerWatch WatchFor(std::span<PjlQueryArgument> arguments, std::string_view reply) {
    return PjlAnswerWatch{arguments, reply.data(), reply.rfind('\f'), arguments.size()};
}

// The pairing's result once the reply has been read: an unanswered
// argument gives TB58_ERROR_REPLY_MISMATCH, a misfit in the query its error,
// whichever comes first in the query.
uint32_t Verdict(const QueryArguments& query) {
    for (size_t at = 0; at < query.arguments.size(); ++at) {
        if (!PjlArgumentAnswered(query.arguments, at)) return TB58_ERROR_REPLY_MISMATCH;
    }
    return query.result;
}

// Reads the reply only to mark the arguments it answers; the walk ends
// early when every argument is answered, or when no form feed is left ahead.
void MarkAnswered(std::span<PjlQueryArgument> arguments, std::string_view reply) {
    PjlAnswerWatch watch = WatchFor(arguments, reply);
    if (watch.last_feed == std::string_view::npos) return;
    PjlTokenizer tokenizer{};
    PjlTokenizerInit(&tokenizer, reply);
    std::string_view token;
    uint32_t type = PJL_TOK_END;
    do {
        const uint32_t result = PjlReadTokenPassing<kAllButArguments>(&tokenizer, &token, &type);
        if (!watch.See(result, type, token, tokenizer.position)) return;
    } while (type != PJL_TOK_END && watch.open != 0);
}

// The pairing checked on its own, before anything is stored: the query is
// read a group of arguments at a time, and the reply once per group.
uint32_t MatchQueryAndReply(std::string_view query, std::string_view reply) {
    PjlTokenizer tokenizer{};
    PjlTokenizerInit(&tokenizer, query);
    for (;;) {
        PjlQueryArgument group[kArgumentGroup];
        const QueryArguments read = ReadQueryArguments(tokenizer, group);
        MarkAnswered(read.arguments, reply);
        const uint32_t verdict = Verdict(read);
        if (verdict != ERROR_SUCCESS || !read.more) return verdict;
    }
}

bool HasData(const InfoItem* item) { return item != nullptr && item->dataLength != 0; }

// A root of key 3 must hold the emulation code 15.
bool EmulationRootHolds(const InfoItem* root) {
    if (root->key != ITEM_EMUL_CENTRO_DATA) return true;
    uint32_t emulation = 0;
    return InfoItemCopyData(root, &emulation, sizeof emulation, SizeRule::kExact) != 0 &&
           emulation == TB58_EMULATION_TZMO;
}

// What the pairing needs: the query text and the reply text it is matched
// with (both null when the packet asks for no check), or a result that
// decides it without reading.
struct Pairing {
    uint32_t result = ERROR_SUCCESS;
    const InfoItem* query_text = nullptr;
    const InfoItem* reply_text = nullptr;
};

Pairing FindPairing(const InfoItem* root) {
    Pairing pairing;
    InfoItem* children = InfoItemFirstChild(root);
    const InfoItem* query = InfoItemFind(children, ITEM_QUERY_INFO);
    if (query == nullptr) return pairing;
    InfoItem* query_children = InfoItemFirstChild(query);
    if (InfoItemFind(query_children, ITEM_DEVICE_ID) != nullptr &&
        !HasData(InfoItemFind(children, ITEM_DEVICE_ID))) {
        pairing.result = TB58_ERROR_REPLY_MISMATCH;
        return pairing;
    }
    const InfoItem* query_text = InfoItemFind(query_children, ITEM_PJL_TEXT);
    if (query_text == nullptr) return pairing;
    const InfoItem* reply_text = InfoItemFind(children, ITEM_PJL_TEXT);
    if (!HasData(reply_text)) {
        pairing.result = TB58_ERROR_REPLY_MISMATCH;
        return pairing;
    }
    pairing.query_text = query_text;
    pairing.reply_text = reply_text;
    return pairing;
}

// Whether a device ID comes before the reply text: its parser would store
// before the reply has been read.
bool DeviceIdBefore(const InfoItem* root, const InfoItem* reply_text) {
    for (const InfoItem* child = InfoItemFirstChild(root); child != reply_text; child = InfoItemNext(child)) {
        if (child->key == ITEM_DEVICE_ID) return true;
    }
    return false;
}

// Feeds the root's children to their readers in chain order.  The reply
// text that answers the query (answered) was read already.
uint32_t TakeChildren(const InfoItem* root, PrnInfoEx& record, const InfoItem* answered) {
    for (const InfoItem* child = InfoItemFirstChild(root); child != nullptr; child = InfoItemNext(child)) {
        if (child == answered) continue;
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

// The intake.  When the packet carries a query, the reply must answer it
// before anything is stored.  Usually the reply is then read once: the
// dispatcher stores as it reads, with its changes kept undoable, while a
// watch marks the query's arguments; a reply that does not answer is undone.
// Where that cannot be (a device ID first, more arguments than a group, a
// record whose changes the journal cannot hold, a root that will be refused),
// the pairing is checked on its own first.
uint32_t TakeCentroData(const InfoItem* root, PrnInfoEx& record) {
    const Pairing pairing = FindPairing(root);
    if (pairing.result != ERROR_SUCCESS) return pairing.result;
    if (pairing.query_text == nullptr) {
        if (!EmulationRootHolds(root)) return ERROR_INVALID_PARAMETER;
        return TakeChildren(root, record, nullptr);
    }

    const std::string_view reply = InfoItemText(pairing.reply_text);
    PjlTokenizer query_tokenizer{};
    PjlTokenizerInit(&query_tokenizer, InfoItemText(pairing.query_text));
    PjlQueryArgument group[kArgumentGroup];
    QueryArguments query = ReadQueryArguments(query_tokenizer, group);
    if (query.arguments.empty() && query.result != ERROR_SUCCESS) return query.result;

    RecordJournal journal;
    if (query.more || !EmulationRootHolds(root) || DeviceIdBefore(root, pairing.reply_text) ||
        !journal.Begin(record)) {
        const uint32_t matched = MatchQueryAndReply(InfoItemText(pairing.query_text), reply);
        if (matched != ERROR_SUCCESS) return matched;
        if (!EmulationRootHolds(root)) return ERROR_INVALID_PARAMETER;
        return TakeChildren(root, record, nullptr);
    }

    PjlAnswerWatch watch = WatchFor(query.arguments, reply);
    PjlReplyDispatch(record, kModelDispatchIndex, reply, &journal, &watch);
    const uint32_t verdict = Verdict(query);
    if (verdict != ERROR_SUCCESS) {
        journal.Rollback();
        return verdict;
    }
    journal.Commit();
    return TakeChildren(root, record, pairing.reply_text);
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
