#include "monitor/query_round.h"

#include "base/value_lists.h"

namespace tb58mon {

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
