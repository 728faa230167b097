#include "transport/usb_device_id.h"

namespace tb58mon {
namespace {

constexpr size_t kLengthBytes = 2;
constexpr size_t kShortestId = 14;

}  // namespace

std::string DeviceIdFromIoctlBuffer(std::span<const uint8_t> buffer) {
    if (buffer.size() <= kLengthBytes) return {};
    size_t length = static_cast<size_t>(buffer[0]) << 8 | buffer[1];
    if (length > buffer.size() || length < kShortestId) length = static_cast<size_t>(buffer[1]) << 8 | buffer[0];
    if (length > buffer.size()) length = buffer.size();
    std::string text;
    for (size_t i = kLengthBytes; i < length && buffer[i] != 0; ++i) text += static_cast<char>(buffer[i]);
    return text;
}

}  // namespace tb58mon
