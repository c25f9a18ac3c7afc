#include "host/FrameReader.h"

#include <cstring>
#include <string>

#include "host/Frame.h"

namespace olvane::host {
namespace {

constexpr std::size_t kReadChunk = 64 * 1024;

}  // namespace

FrameReader::FrameReader(ReadBytes read, const HostLog& log)
    : read_(std::move(read)), log_(log), buffer_(kReadChunk) {}

bool FrameReader::fill(std::size_t count) {
    while (available() < count) {
        if (buffer_.size() - begin_ < count || end_ == buffer_.size()) {
            std::memmove(buffer_.data(), buffer_.data() + begin_, available());
            end_ -= begin_;
            begin_ = 0;
        }
        if (buffer_.size() < count) {
            buffer_.resize(count);
        }
        const auto n = read_(buffer_.data() + end_, buffer_.size() - end_);
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
    const auto length = decodeLength(buffer_.data() + begin_);
    begin_ += kFrameHeaderSize;
    if (length == 0 || length > kMaxIncomingPayload) {
        return std::nullopt;
    }
    if (!fill(length)) {
        return std::nullopt;
    }
    const std::string_view payload(buffer_.data() + begin_, length);
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
