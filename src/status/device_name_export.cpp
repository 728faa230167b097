// The device name export: PatGetDeviceName.
#include <cstring>

#include "Tb58Wk31.h"
#include "frame/export_frame.h"
#include "status/device_name.h"

namespace tb58::status {
namespace {

// The name is composed in a work buffer; *size receives the needed size
// (length + 1) when the name exists, and the name is copied only when the
// capacity that *size held is large enough.  A null buffer with a capacity
// that would be large enough is a caller error (87, *size untouched); with
// a smaller capacity it asks for the size (122).
uint32_t GetDeviceName(uint32_t selector, const void* value, uint8_t check, char* buffer, uint32_t* size) {
    char name[kDeviceNameCapacity];
    const uint32_t result = GetDeviceNameText(selector, value, check, name, sizeof name);
    if (result != ERROR_SUCCESS) return result;
    const size_t length = std::strlen(name);
    const auto needed = static_cast<uint32_t>(length + 1);
    const uint32_t capacity = *size;
    if (capacity >= needed && buffer == nullptr) return ERROR_INVALID_PARAMETER;
    *size = needed;
    if (capacity < needed) return ERROR_INSUFFICIENT_BUFFER;
    std::memcpy(buffer, name, needed);
    return ERROR_SUCCESS;
}

}  // namespace
}  // namespace tb58::status

extern "C" TB58WK31_API int32_t PatGetDeviceName(uint32_t selector, const void* value, uint32_t check, char* buffer,
                                                 uint32_t* size) {
    using namespace tb58;
    if (size == nullptr) return frame::Finish(ERROR_INVALID_PARAMETER);
    return frame::Finish(status::GetDeviceName(selector, value, static_cast<uint8_t>(check & 0xFF), buffer, size));
}
