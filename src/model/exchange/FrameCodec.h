#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

// The frame of the browser-side pipes: a 32-bit payload length in native byte order, then that
// many bytes of UTF-8 JSON. Used by the native-messaging host and the Safari extension stand-in.
namespace olvane::exchange {

inline constexpr std::size_t kFrameHeaderSize = sizeof(std::uint32_t);

// Incoming payloads must hold 1 to this many bytes; anything else is a broken peer.
inline constexpr std::uint32_t kMaxFramePayload = 999'999;

// The length prefix followed by the payload.
std::string encodeFrame(std::string_view payload);
// The payload length held by a header of kFrameHeaderSize bytes.
std::uint32_t decodeFrameLength(const char* header);

// Reads one payload, blocking. nullopt at end of input, on a short read, or when the length is
// 0 or above kMaxFramePayload (the payload is then left unread).
std::optional<std::string> readFrame(std::FILE* in);

// Writes one frame and flushes; false when the payload is too long for the prefix or the
// stream refused part of it.
bool writeFrame(std::FILE* out, std::string_view payload);

}  // namespace olvane::exchange
