#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "model/exchange/FrameCodec.h"

namespace olvane::exchange {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// A stream holding `bytes`, read from the start.
File streamOf(const std::string& bytes) {
    File file(std::tmpfile());
    std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    std::rewind(file.get());
    return file;
}

std::string lengthPrefix(std::uint32_t length) {
    std::string prefix(4, '\0');
    std::memcpy(prefix.data(), &length, 4);
    return prefix;
}

TEST(FrameCodec, RoundTripsAndAcceptsTheLargestPayload) {
    const std::string large(kMaxFramePayload, 'x');
    auto in = streamOf(encodeFrame(R"({"type":"PING"})") + encodeFrame(large));
    EXPECT_EQ(readFrame(in.get()), R"({"type":"PING"})");
    EXPECT_EQ(readFrame(in.get()), large);
    EXPECT_FALSE(readFrame(in.get()));  // end of input

    File out(std::tmpfile());
    ASSERT_TRUE(writeFrame(out.get(), "{}"));
    std::rewind(out.get());
    EXPECT_EQ(readFrame(out.get()), "{}");
}

TEST(FrameCodec, RefusesEmptyOversizedAndTruncatedFrames) {
    auto oversized = streamOf(lengthPrefix(kMaxFramePayload + 1) + "{}");
    EXPECT_FALSE(readFrame(oversized.get()));
    EXPECT_EQ(std::fgetc(oversized.get()), '{');  // the payload was left unread

    EXPECT_FALSE(readFrame(streamOf(lengthPrefix(0)).get()));
    EXPECT_FALSE(readFrame(streamOf(lengthPrefix(5) + "{}").get()));
    EXPECT_FALSE(readFrame(streamOf(std::string("\x02\x00", 2)).get()));
}

}  // namespace
}  // namespace olvane::exchange
