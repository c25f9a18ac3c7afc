#include "model/exchange/FrameCodec.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace olvane::exchange {

std::string encodeFrame(std::string_view payload) {
    const auto length = static_cast<std::uint32_t>(payload.size());
    std::string frame(sizeof length, '\0');
    std::memcpy(frame.data(), &length, sizeof length);
    frame.append(payload);
    return frame;
}

std::uint32_t decodeFrameLength(const char* header) {
    std::uint32_t length = 0;
    std::memcpy(&length, header, kFrameHeaderSize);
    return length;
}

std::optional<std::string> readFrame(std::FILE* in) {
    std::uint32_t length = 0;
    if (std::fread(&length, 1, sizeof length, in) != sizeof length) {
        return std::nullopt;
    }
    if (length == 0 || length > kMaxFramePayload) {
        return std::nullopt;
    }
    // The buffer grows with what arrives, not with what the header claims: a cut frame that
    // announces a megabyte costs no megabyte.
    constexpr std::size_t kStep = 16 * 1024;
    std::string payload;
    while (payload.size() < length) {
        const auto before = payload.size();
        const auto step = std::min<std::size_t>(length - before, kStep);
        payload.resize(before + step);
        if (std::fread(payload.data() + before, 1, step, in) != step) {
            return std::nullopt;
        }
    }
    return payload;
}

bool writeFrame(std::FILE* out, std::string_view payload) {
    if (payload.size() > UINT32_MAX) {
        return false;
    }
    const std::string frame = encodeFrame(payload);
    const bool written = std::fwrite(frame.data(), 1, frame.size(), out) == frame.size();
    return std::fflush(out) == 0 && written;
}

}  // namespace olvane::exchange
