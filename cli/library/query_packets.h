// The packets of a query cycle as a status monitor builds them:
// PatCreateQueryInfo (or PatCreateEmulUniqQueryInfo) builds the QueryInfo,
// and after the printer answered, the CentroData packet around the
// QueryInfo that was sent goes to PatSetCentroDataTo, which stores the
// answers in the record.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "library/library_calls.h"

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

}  // namespace tb58mon
