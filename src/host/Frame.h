#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The native-messaging frame: a 32-bit payload length in native byte order, then the payload,
// UTF-8 JSON text holding one object.
namespace olvane::host {

inline constexpr std::size_t kFrameHeaderSize = sizeof(std::uint32_t);
// Longer incoming payloads end the host; so does an empty one.
inline constexpr std::uint32_t kMaxIncomingPayload = 999'999;
// Chrome closes the port on a longer message from the host.
inline constexpr std::size_t kMaxOutgoingPayload = 1024 * 1024;

std::string encodeFrame(std::string_view payload);
std::uint32_t decodeLength(const char* header);

}  // namespace olvane::host
