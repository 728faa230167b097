// The device ID of a USB printer class device, as the LPIOC_GET_DEVICE_ID
// ioctl of the Linux usblp driver leaves it in the caller's buffer: a
// 2-byte length (which counts the two length bytes themselves) and then the
// text.  The standard says big-endian, but some printers send it
// little-endian.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace tb58mon {

// The text: the length is read big-endian; when that is larger than the
// buffer or under 14 (too short for any real ID) it is read little-endian
// instead; either way it is clamped to the buffer.  The text ends at the
// length or at the first zero byte.  Empty for a buffer under 3 bytes.
std::string DeviceIdFromIoctlBuffer(std::span<const uint8_t> buffer);

}  // namespace tb58mon
