// PatGetPeripheralProfile.
#include <cstring>

#include "Tb58Wk31.h"
#include "frame/export_frame.h"
#include "frame/peripheral_profiles.h"

namespace tb58::frame {

const PeripheralProfileRow* FindPeripheralProfile(uint32_t kind) {
    const uint32_t low = kind & 0xFFFFu;
    for (const PeripheralProfileRow* row = kPeripheralProfiles; row->kind != 0; ++row) {
        if (row->kind == low) return row;
    }
    return nullptr;
}

}  // namespace tb58::frame

// The size value receives 20 whenever it can be written, whatever else
// fails, so that a caller always learns the profile's size.
extern "C" TB58WK31_API int32_t PatGetPeripheralProfile(uint32_t kind, PeripheralProfile* profile, uint32_t* size) {
    using namespace tb58;
    if (size == nullptr) return frame::Finish(ERROR_INVALID_PARAMETER);
    const uint32_t capacity = *size;
    *size = TB58_PERIPHERAL_PROFILE_SIZE;
    const frame::PeripheralProfileRow* row = frame::FindPeripheralProfile(kind);
    if (row == nullptr) return frame::Finish(ERROR_INVALID_PARAMETER);
    if (capacity < TB58_PERIPHERAL_PROFILE_SIZE) return frame::Finish(ERROR_INSUFFICIENT_BUFFER);
    if (profile == nullptr) return frame::Finish(ERROR_INVALID_PARAMETER);
    static_assert(sizeof row->values == TB58_PERIPHERAL_PROFILE_SIZE);
    std::memcpy(profile->dwValue, row->values, sizeof row->values);
    return frame::Finish(ERROR_SUCCESS);
}
