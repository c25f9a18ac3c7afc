#pragma once

#include <cstddef>
#include <cstdint>

#include "model/exchange/FrameCodec.h"

// The native-messaging frame: a 32-bit payload length in native byte order, then the payload,
// UTF-8 JSON text holding one object.
namespace olvane::host {

using exchange::kFrameHeaderSize;
// Longer incoming payloads end the host; so does an empty one.
inline constexpr std::uint32_t kMaxIncomingPayload = exchange::kMaxFramePayload;
// Chrome closes the port on a longer message from the host.
inline constexpr std::size_t kMaxOutgoingPayload = 1024 * 1024;

using exchange::encodeFrame;
inline std::uint32_t decodeLength(const char* header) {
    return exchange::decodeFrameLength(header);
}

}  // namespace olvane::host
