// The index of string id maps, in search order.  The maps are the status
// part's data; it hands their index to the string look-up of the frame,
// which declares it.
#include "frame/string_id_map.h"
#include "status/string_maps.h"

namespace tb58::frame {

const StringIdMapIndexRow kStringIdMapIndex[] = {
    {kGroupMessages, kVariantLong, status::kMessageLongTextMap},
    {kGroupMessages, kVariantShort, status::kMessageShortTextMap},
    {kGroupAlternateMessages, kVariantLong, status::kAlternateMessageLongTextMap},
    {kGroupAlternateMessages, kVariantShort, status::kAlternateMessageShortTextMap},
    {kGroupPlaces, kVariantShort, status::kPlaceNameMap},
    {kGroupOptions, kVariantShort, status::kOptionNameMap},
    {0, 0, nullptr},
};

}  // namespace tb58::frame
