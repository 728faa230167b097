#include "library/query_cycle.h"

#include "base/value_lists.h"

namespace tb58mon {

QueryRequest DescribeQuery(const InfoItem* query) {
    QueryRequest request;
    request.device_id_requested = FindChild(query, ITEM_DEVICE_ID) != nullptr;
    if (const InfoItem* text = FindChild(query, ITEM_PJL_TEXT)) request.text = ItemText(text);
    return request;
}

PacketPtr CreateQuery(const PrnInfoEx* record, uint32_t flags) {
    PacketPtr query(PatCreateQueryInfo(record, TB58_REVISION_QUERY, flags));
    if (!query) throw CallFailed("PatCreateQueryInfo");
    return query;
}

PacketPtr CreateEmulationQuery() {
    // The first argument only has to be there; the library does not read it.
    static const int kContext = 0;
    PacketPtr query(PatCreateEmulUniqQueryInfo(&kContext, TB58_REVISION_QUERY, TB58_EMULATION_TZMO, 0));
    if (!query) throw CallFailed("PatCreateEmulUniqQueryInfo");
    return query;
}

void StoreReplies(PrnInfoEx* record, PacketPtr query, bool emulation, std::string_view reply,
                  std::string_view device_id) {
    const uint32_t emulation_code = TB58_EMULATION_TZMO;
    PacketPtr root(emulation ? NewItem(ITEM_EMUL_CENTRO_DATA, &emulation_code, sizeof emulation_code)
                             : NewItem(ITEM_CENTRO_DATA, nullptr, 0));
    // A printer that gives no device ID (none over SNMP, or --no-snmp) leaves
    // the query's device-ID request unanswered.  The library would refuse the
    // whole packet for it, so the request is taken out of the QueryInfo:
    // the PJL answers still count.
    if (query && device_id.empty()) RemoveChild(query.get(), ITEM_DEVICE_ID);
    // The QueryInfo that was sent travels back inside the packet; from here on
    // it is released with the packet.
    if (query) AppendChild(root.get(), query.release());
    if (!reply.empty()) AppendChild(root.get(), NewTextItem(ITEM_PJL_TEXT, reply));
    if (!device_id.empty()) AppendChild(root.get(), NewTextItem(ITEM_DEVICE_ID, device_id));
    if (PatSetCentroDataTo(root.get(), 0, record, TB58_REVISION_QUERY) == 0) throw CallFailed("PatSetCentroDataTo");
}

PendingRound BeginQueryRound(const PrnInfoEx* record, std::string title, uint32_t flags) {
    PendingRound pending;
    pending.round.title = std::move(title);
    pending.round.call = "PatCreateQueryInfo(record, 2, " + RequestFlagNames(flags) + ")";
    pending.query = CreateQuery(record, flags);
    pending.round.request = DescribeQuery(pending.query.get());
    return pending;
}

PendingRound BeginEmulationRound() {
    PendingRound pending;
    pending.round.title = "emulation-unique information (TZMO)";
    pending.round.call = "PatCreateEmulUniqQueryInfo(context, 2, 15, 0)";
    pending.query = CreateEmulationQuery();
    pending.round.request = DescribeQuery(pending.query.get());
    pending.emulation = true;
    return pending;
}

QueryRound FinishQueryRound(PendingRound pending, PrnInfoEx* record, RoundResult result) {
    QueryRound& round = pending.round;
    round.outcome = result.outcome;
    round.message = std::move(result.message);
    round.ustatus = std::move(result.ustatus);
    round.device_id_note = std::move(result.device_id_note);
    if (result.outcome != RoundOutcome::kAnswered) return std::move(round);
    round.answered = true;
    round.reply = std::move(result.reply);
    round.device_id = std::move(result.device_id);
    try {
        StoreReplies(record, std::move(pending.query), pending.emulation, round.reply,
                     pending.emulation ? "" : round.device_id);
        round.stored = true;
    } catch (const CliError& e) {
        round.store_error = e.what();
    }
    return std::move(round);
}

std::vector<std::string_view> StoredReplies(std::span<const QueryRound> rounds) {
    std::vector<std::string_view> replies;
    for (const QueryRound& round : rounds) {
        if (round.stored) replies.emplace_back(round.reply);
    }
    return replies;
}

QueryRound RunQueryRound(PrnInfoEx* record, std::string title, uint32_t flags, Transport& printer, Deadline deadline) {
    PendingRound pending = BeginQueryRound(record, std::move(title), flags);
    RoundResult result = printer.Exchange(pending.round.request.text, pending.round.request.device_id_requested, deadline);
    return FinishQueryRound(std::move(pending), record, std::move(result));
}

QueryRound RunEmulationRound(PrnInfoEx* record, Transport& printer, Deadline deadline) {
    PendingRound pending = BeginEmulationRound();
    RoundResult result = printer.Exchange(pending.round.request.text, pending.round.request.device_id_requested, deadline);
    return FinishQueryRound(std::move(pending), record, std::move(result));
}

}  // namespace tb58mon
