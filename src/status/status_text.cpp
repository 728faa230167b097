#include "status/status_text.h"

#include <cstring>
#include <string_view>

#include "Tb58Wk31.h"
#include "frame/bounded_text.h"
#include "frame/localized_string.h"
#include "frame/string_id_map.h"
#include "platform/win32_api.h"
#include "status/status_entries.h"

namespace tb58::status {
namespace {

struct PlaceNameRecord {
    int32_t place;
    uint32_t position;   // 1-based row of the place in the place map
    uint32_t string_id;
};
static_assert(sizeof(PlaceNameRecord) == 12);

bool ListHasPlace(RecList* places, int32_t place) {
    RecListIter it;
    RecListIterInit(places, &it);
    PlaceNameRecord record{};
    while (RecListIterNext(&it, &record)) {
        if (record.place == place) return true;
    }
    return false;
}

// Inserts record before the first one with a greater position.
void InsertInMapOrder(RecList* places, const PlaceNameRecord& record) {
    RecListIter it;
    RecListIterInit(places, &it);
    PlaceNameRecord other{};
    for (uint32_t index = 1; RecListIterNext(&it, &other); ++index) {
        if (other.position > record.position) {
            RecListInsert(places, &record, index);
            return;
        }
    }
    RecListAdd(places, &record);
}

}  // namespace

uint32_t ComposePlaceList(RecList* entries, char* out) {
    out[0] = '\0';
    RecListPtr places(RecListCreate(sizeof(PlaceNameRecord), 10, 10));
    if (!places) return ERROR_NOT_ENOUGH_MEMORY;
    const frame::StringIdMap* place_map = frame::FindStringIdMap(frame::kGroupPlaces, frame::kVariantShort);
    if (place_map == nullptr) return TB58_ERROR_NOT_FOUND;
    char separator[kSeparatorCapacity];
    if (frame::LoadLocalizedString(3500, separator, sizeof separator) != TB58_ERROR_SUCCESS) {
        return TB58_ERROR_NOT_FOUND;
    }

    RecListIter it;
    RecListIterInit(entries, &it);
    void* record = nullptr;
    while (RecListIterNextPtr(&it, &record)) {
        const int32_t place = static_cast<const StatusEntry*>(record)->place;
        if (place == 0 || ListHasPlace(places.get(), place)) continue;
        PlaceNameRecord name{place, 0, 0};
        for (uint32_t row = 0; place_map[row].key != frame::kStringIdMapEnd; ++row) {
            if (place_map[row].key == place) {
                name.position = row + 1;
                name.string_id = place_map[row].string_id;
                break;
            }
        }
        if (name.position == 0) return TB58_ERROR_NOT_FOUND;
        InsertInMapOrder(places.get(), name);
    }

    // Names are added whole: a list longer than the buffer ends with the
    // last name that fits, never with part of one.
    frame::BoundedText list(out, kPlaceListCapacity, frame::CurrentAnsiCodePage());
    uint32_t result = TB58_ERROR_SUCCESS;
    RecListIterInit(places.get(), &it);
    PlaceNameRecord name{};
    char text[kPlaceNameCapacity];
    while (RecListIterNext(&it, &name)) {
        result = frame::LoadLocalizedString(name.string_id, text, sizeof text);
        if (result != TB58_ERROR_SUCCESS) continue;
        const std::string_view place(text);
        if (list.length() == 0) {
            if (!list.AppendWhole(place)) break;
            continue;
        }
        char piece[kSeparatorCapacity + kPlaceNameCapacity];
        const std::string_view joint(separator);
        std::memcpy(piece, joint.data(), joint.size());
        std::memcpy(piece + joint.size(), place.data(), place.size());
        if (!list.AppendWhole(std::string_view(piece, joint.size() + place.size()))) break;
    }
    return result;
}

uint32_t FillMessageTemplate(const StatusContext& context, RecList* entries, uint8_t selector, char* out,
                             int32_t capacity) {
    out[0] = '\0';
    const int32_t group = IsAlternate(context) ? frame::kGroupAlternateMessages : frame::kGroupMessages;
    const frame::StringIdMap* map = frame::FindStringIdMap(group, selector);
    if (map == nullptr) return TB58_ERROR_NOT_FOUND;
    StatusEntry first{};
    if (!RecListGet(entries, 1, &first)) return TB58_ERROR_NOT_FOUND;
    char message[kStatusTextCapacity];
    const uint32_t result = frame::LoadMappedString(map, first.message, message, sizeof message);
    if (result != TB58_ERROR_SUCCESS) return result;

    frame::BoundedText text(out, static_cast<size_t>(capacity), frame::CurrentAnsiCodePage());
    std::string_view rest(message);
    for (size_t at = rest.find("%s"); at != std::string_view::npos; at = rest.find("%s")) {
        text.Append(rest.substr(0, at));
        char places[kPlaceListCapacity];
        if (ComposePlaceList(entries, places) == TB58_ERROR_SUCCESS) text.AppendWhole(places);
        rest.remove_prefix(at + 2);
    }
    text.Append(rest);
    return TB58_ERROR_SUCCESS;
}

uint32_t ComposeStatusText(const StatusContext& context, RecList* entries, uint8_t selector, char* out,
                           int32_t capacity) {
    out[0] = '\0';
    StatusEntry first{};
    const bool has_first = RecListGet(entries, 1, &first);
    const uint32_t result = FillMessageTemplate(context, entries, selector, out, capacity);
    if (has_first && selector == kLongText && first.message == TB58_STATUS_SERVICE_CALL) {
        // The long text of the service call ends with a line break; the
        // service code stands on a line of its own.
        const size_t length = std::strlen(out);
        frame::BoundedText text(out + length, static_cast<size_t>(capacity) - length, frame::CurrentAnsiCodePage());
        text.Append(first.text);
    }
    return result;
}

}  // namespace tb58::status
