#include "status/status_entries.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "Tb58Wk31.h"
#include "core/prn_info_ex.h"
#include "platform/win32_api.h"
#include "status/status_key.h"
#include "status/status_places.h"
#include "status/status_selection.h"
#include "status/status_tables.h"

namespace tb58::status {
namespace {

// A failed append leaves the entry out; no error is reported.
void AddEntry(RecList* entries, int32_t message, int32_t place) {
    StatusEntry entry{message, place, {}};
    RecListAdd(entries, &entry);
}

// The same with a text, cut to the entry's capacity. Entries without a
// text take the overload above: with the text as a defaulted argument,
// GCC's -O3 clones the function for the empty view and warns about its null
// data pointer reaching memcpy, although the length check never lets it.
void AddEntry(RecList* entries, int32_t message, int32_t place, std::string_view text) {
    StatusEntry entry{message, place, {}};
    const size_t length = std::min(text.size(), sizeof entry.text - 1);
    if (length != 0) std::memcpy(entry.text, text.data(), length);
    RecListAdd(entries, &entry);
}

bool Installed(const StatusContext& context, uint16_t option) {
    return PrnInfoExHasDevice(context.record, option) != 0;
}

// The service code of the first engine status node of a service call.
void AddServiceCallEntry(const StatusContext& context, RecList* entries) {
    char service_code[256] = {};
    for (const EngineStatusNode* node = context.record->pEngineStatus; node != nullptr;
         node = static_cast<const EngineStatusNode*>(node->next)) {
        if (node->dwCode == TB58_STATUS_SERVICE_CALL) {
            ExtractServiceCode(node->szText, sizeof node->szText, service_code, sizeof service_code);
            break;
        }
    }
    AddEntry(entries, TB58_STATUS_SERVICE_CALL, 0, service_code);
}

}  // namespace

uint32_t BuildStatusEntries(const StatusContext& context, RecList* entries) {
    RecListPtr codes(CreateStatusCodeList());
    if (!codes) return ERROR_NOT_ENOUGH_MEMORY;
    const uint32_t result = SelectStatusCodes(context, codes.get());
    if (result != TB58_ERROR_SUCCESS) return result;
    RecListIter it;
    RecListIterInit(codes.get(), &it);
    uint32_t code = 0;
    while (RecListIterNext(&it, &code)) {
        const uint32_t evaluated = EvaluateStatusCode(context, code, entries);
        if (evaluated != TB58_ERROR_SUCCESS) return evaluated;
    }
    return TB58_ERROR_SUCCESS;
}

uint32_t EvaluateStatusCode(const StatusContext& context, uint32_t code, RecList* entries) {
    // With two shift trays the finisher's shift and booklet trays are shift
    // trays 1 and 2.
    const bool two_shift_trays = Installed(context, TB58_OPTION_FINISHER_TWO_SHIFT);
    const Place shift_tray = two_shift_trays ? kPlaceFinisherShiftTray1 : kPlaceFinisherShiftTray;
    const Place booklet_tray = two_shift_trays ? kPlaceFinisherShiftTray2 : kPlaceFinisherBookletTray;
    switch (code) {
        case 30341: AddEntry(entries, 30351, shift_tray); break;
        case 30343: AddEntry(entries, 30351, booklet_tray); break;
        case 40341: AddEntry(entries, 40340, shift_tray); break;
        case 40343: AddEntry(entries, 40340, booklet_tray); break;
        case 40382:
        case 40383: AddEntry(entries, static_cast<int32_t>(code), booklet_tray); break;
        case 30382:
            AddEntry(entries, Installed(context, TB58_OPTION_FINISHER_BOOKLET) ? 1030382 : 30382, kNoPlace);
            break;
        case 42000:
            AddEntry(entries, 42000, kPlaceFrontCover);
            if (Installed(context, TB58_OPTION_LCT)) AddEntry(entries, 42000, kPlaceLctCover);
            break;
        case TB58_STATUS_SERVICE_CALL: AddServiceCallEntry(context, entries); break;
        default: return AddTableEntries(context, code, entries);
    }
    return TB58_ERROR_SUCCESS;
}

uint32_t AddTableEntries(const StatusContext& context, uint32_t code, RecList* entries) {
    const StatusCodeRow* table = IsAlternate(context) ? kAlternateStatusCodeTable : kStatusCodeTable;
    ForEachMatchingRow(table, code, [entries](const StatusCodeRow& row) {
        AddEntry(entries, row.message, row.place);
        return true;
    });
    return TB58_ERROR_SUCCESS;
}

uint32_t ExtractServiceCode(const char* text, size_t text_capacity, char* out, size_t capacity) {
    if (text == nullptr || out == nullptr || capacity == 0) return ERROR_INVALID_PARAMETER;
    const void* zero = std::memchr(text, '\0', text_capacity);
    const size_t text_length =
        zero == nullptr ? text_capacity : static_cast<size_t>(static_cast<const char*>(zero) - text);
    const std::string_view display(text, text_length);
    const size_t at = display.rfind("SC");
    const std::string_view code = at == std::string_view::npos ? std::string_view{} : display.substr(at);
    const size_t length = std::min(code.size(), capacity - 1);
    if (length != 0) std::memcpy(out, code.data(), length);
    out[length] = '\0';
    return TB58_ERROR_SUCCESS;
}

}  // namespace tb58::status
