#include "host/FrameReader.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "host/Frame.h"

namespace olvane::host {
namespace {

constexpr std::size_t kReadChunk = 64 * 1024;

}  // namespace

FrameReader::FrameReader(ReadBytes read, const HostLog& log) : read_(std::move(read)), log_(log) {}

void FrameReader::reserve(std::size_t capacity) {
    auto larger = std::make_unique_for_overwrite<char[]>(capacity);
    if (available() > 0) {
        std::memcpy(larger.get(), buffer_.get() + begin_, available());
    }
    end_ -= begin_;
    begin_ = 0;
    buffer_ = std::move(larger);
    capacity_ = capacity;
}

bool FrameReader::fill(std::size_t count) {
    while (available() < count) {
        if (capacity_ < count) {
            reserve(std::max(count, kReadChunk));
        } else if (capacity_ - begin_ < count || end_ == capacity_) {
            std::memmove(buffer_.get(), buffer_.get() + begin_, available());
            end_ -= begin_;
            begin_ = 0;
        }
        const auto n = read_(buffer_.get() + end_, capacity_ - end_);
        if (n <= 0) {
            return false;
        }
        end_ += static_cast<std::size_t>(n);
    }
    return true;
}

std::optional<Json> FrameReader::readMessage() {
    if (!fill(kFrameHeaderSize)) {
        return std::nullopt;
    }
    const auto length = decodeLength(buffer_.get() + begin_);
    begin_ += kFrameHeaderSize;
    if (length == 0 || length > kMaxIncomingPayload) {
        return std::nullopt;
    }
    if (!fill(length)) {
        return std::nullopt;
    }
    const std::string_view payload(buffer_.get() + begin_, length);
    begin_ += length;
    std::string error;
    auto value = json::parse(payload, error);
    if (!value) {
        log_.error("readMessage: JSON parse échoué: " + error);
        return std::nullopt;
    }
    if (!value->is_object()) {
        return std::nullopt;
    }
    return value;
}

}  // namespace olvane::host
