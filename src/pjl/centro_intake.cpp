// PatSetCentroDataTo: checks that a reply packet answers its query, then
// feeds the reply text to the dispatcher and the device ID to its parser.
#include <string_view>

#include "Tb58Wk31Query.h"
#include "core/info_item.h"
#include "frame/export_frame.h"
#include "pjl/device_id_parser.h"
#include "pjl/query_reply_match.h"
#include "pjl/reply_dispatch.h"

namespace tb58::pjl {
namespace {

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

// Feeds the root's children to their readers in chain order.
uint32_t TakeChildren(const InfoItem* root, PrnInfoEx& record) {
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

// The intake: when the packet carries a query, whether the reply answers it
// is decided first, then the packet is read into the record in one walk.
uint32_t TakeCentroData(const InfoItem* root, PrnInfoEx& record) {
    const Pairing pairing = FindPairing(root);
    if (pairing.result != ERROR_SUCCESS) return pairing.result;
    if (pairing.query_text != nullptr) {
        const uint32_t matched =
            MatchQueryAndReply(InfoItemText(pairing.query_text), InfoItemText(pairing.reply_text));
        if (matched != ERROR_SUCCESS) return matched;
    }
    if (!EmulationRootHolds(root)) return ERROR_INVALID_PARAMETER;
    return TakeChildren(root, record);
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
