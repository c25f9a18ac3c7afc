#pragma once

#include <memory>
#include <optional>

#include "host/ByteStreams.h"
#include "host/HostLog.h"
#include "platform/Json.h"

namespace olvane::host {

// Cuts the incoming byte stream into messages. Reads ahead in large chunks, so a burst of
// frames costs one system call rather than two per frame.
class FrameReader {
  public:
    FrameReader(ReadBytes read, const HostLog& log);

    // The next message; nullopt at end of input and for every malformed frame (bad length,
    // short payload, invalid JSON, a value that is not an object), after which the stream is
    // not to be read further.
    std::optional<Json> readMessage();

  private:
    // Makes `count` unread bytes available; false when the input ends first.
    bool fill(std::size_t count);
    std::size_t available() const { return end_ - begin_; }
    // Moves the unread bytes to the start of a buffer of `capacity` bytes.
    void reserve(std::size_t capacity);

    ReadBytes read_;
    const HostLog& log_;
    // Left unset until read into: a host that reads little never pays for the whole chunk.
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
};

}  // namespace olvane::host
