// One round of a query cycle: the query the library builds goes to the
// printer over a transport, and its answer back to the library
// (library/query_packets.h).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "library/query_packets.h"
#include "transport/transport.h"

namespace tb58mon {

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
