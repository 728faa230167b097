// One query cycle as a status monitor runs it: PatCreateQueryInfo (or
// PatCreateEmulUniqQueryInfo) builds the QueryInfo, the printer answers, the
// caller builds the CentroData packet around the QueryInfo it sent, and
// PatSetCentroDataTo stores the answers in the record.
#pragma once

#include <cstdint>
#include <string>
#include <span>
#include <string_view>
#include <vector>

#include "library/library_calls.h"
#include "transport/transport.h"

namespace tb58mon {

// What a QueryInfo asks: its PJL text (empty when it holds none) and whether
// the device ID must be read too.
struct QueryRequest {
    std::string text;
    bool device_id_requested = false;
};

QueryRequest DescribeQuery(const InfoItem* query);

// PatCreateQueryInfo(record, TB58_REVISION_QUERY, flags); throws on failure.
PacketPtr CreateQuery(const PrnInfoEx* record, uint32_t flags);

// PatCreateEmulUniqQueryInfo for the TZMO emulation; throws on failure.
PacketPtr CreateEmulationQuery();

// Builds the CentroData packet (root ITEM_CENTRO_DATA, or
// ITEM_EMUL_CENTRO_DATA holding 15 when emulation is set) with the query,
// the reply text and the device ID (each only when not empty; without a
// device ID the query's device-ID request is taken out), and calls
// PatSetCentroDataTo; throws naming the call and its error on failure.
void StoreReplies(PrnInfoEx* record, PacketPtr query, bool emulation, std::string_view reply,
                  std::string_view device_id);

// One round of a cycle: what was asked, what came back, what the library
// made of it.
struct QueryRound {
    std::string title;
    std::string call;  // the call that built the query, with its arguments
    QueryRequest request;
    RoundOutcome outcome = RoundOutcome::kNoAnswer;
    bool answered = false;     // the whole reply arrived
    bool stored = false;       // and PatSetCentroDataTo took it
    std::string store_error;   // why PatSetCentroDataTo refused it
    std::string message;       // why the round got no answer
    std::string reply;
    std::string device_id;
    std::string device_id_note;
    std::string ustatus;
};

// The replies of rounds the library took (stored), in order.
std::vector<std::string_view> StoredReplies(std::span<const QueryRound> rounds);

// A round between its query and the printer's answer: the QueryInfo that
// was built travels back in the CentroData packet.
struct PendingRound {
    QueryRound round;
    PacketPtr query;
    bool emulation = false;
};

// Builds a round's query (PatCreateQueryInfo with flags, or the TZMO
// emulation's PatCreateEmulUniqQueryInfo); throws when the call fails.
PendingRound BeginQueryRound(const PrnInfoEx* record, std::string title, uint32_t flags);
PendingRound BeginEmulationRound();

// Takes the transport's answer into the round.  Only a whole reply goes to
// the library: a round the printer does not answer (refused, reset, closed
// early, timed out, too large) leaves the record as it was, and so does a
// reply the library refuses (stored false, store_error says why); the
// caller then sets bNoResponse.
QueryRound FinishQueryRound(PendingRound pending, PrnInfoEx* record, RoundResult result);

// Both halves around one synchronous exchange.
QueryRound RunQueryRound(PrnInfoEx* record, std::string title, uint32_t flags, Transport& printer, Deadline deadline);
QueryRound RunEmulationRound(PrnInfoEx* record, Transport& printer, Deadline deadline);

}  // namespace tb58mon
