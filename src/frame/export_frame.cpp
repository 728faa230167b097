#include "frame/export_frame.h"

#include <cstring>

namespace tb58::frame {

uint32_t DeliverText(std::string_view text, char* buffer, uint32_t* size) {
    const uint32_t capacity = *size;
    const auto needed = static_cast<uint32_t>(text.size() + 1);
    *size = needed;
    if (buffer == nullptr || capacity < needed) return ERROR_INSUFFICIENT_BUFFER;
    if (!text.empty()) std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return ERROR_SUCCESS;
}

}  // namespace tb58::frame
