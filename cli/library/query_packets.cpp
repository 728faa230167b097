#include "library/query_packets.h"

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

}  // namespace tb58mon
