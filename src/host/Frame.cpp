#include "host/Frame.h"

#include <cstring>

namespace olvane::host {

std::string encodeFrame(std::string_view payload) {
    const auto length = static_cast<std::uint32_t>(payload.size());
    std::string frame(kFrameHeaderSize + payload.size(), '\0');
    std::memcpy(frame.data(), &length, kFrameHeaderSize);
    std::memcpy(frame.data() + kFrameHeaderSize, payload.data(), payload.size());
    return frame;
}

std::uint32_t decodeLength(const char* header) {
    std::uint32_t length = 0;
    std::memcpy(&length, header, kFrameHeaderSize);
    return length;
}

}  // namespace olvane::host
