#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "host/Frame.h"
#include "host/FrameReader.h"
#include "host/FrameWriter.h"

namespace olvane::host {
namespace {

// Hands out `input` at most `chunk` bytes per read, as a pipe under load may.
ReadBytes readFrom(const std::string& input, std::size_t chunk) {
    return [input, chunk, offset = std::size_t{0}](char* buffer,
                                                   std::size_t size) mutable -> std::ptrdiff_t {
        const auto n = std::min({size, chunk, input.size() - offset});
        input.copy(buffer, n, offset);
        offset += n;
        return static_cast<std::ptrdiff_t>(n);
    };
}

std::string frameOf(const std::string& payload) {
    return encodeFrame(payload);
}

std::string header(std::uint32_t length) {
    return std::string(reinterpret_cast<const char*>(&length), sizeof length);
}

struct Capture {
    std::vector<std::string> lines;
    HostLog log{[this](std::string_view line) { lines.emplace_back(line); }};
};

TEST(FrameReader, ReadsBackToBackFramesSplitAcrossReads) {
    Capture capture;
    const std::string prefix = R"({"type":"PING","pad":")";
    const std::string big =
        prefix + std::string(kMaxIncomingPayload - prefix.size() - 2, 'x') + "\"}";
    ASSERT_EQ(big.size(), kMaxIncomingPayload);
    const std::string input =
        frameOf(R"({"type":"PING"})") + frameOf(R"({"type":"INIT"})") + frameOf(big) + header(3);
    for (const std::size_t chunk : {std::size_t{1}, std::size_t{7}, std::size_t{1} << 20}) {
        FrameReader reader(readFrom(input, chunk), capture.log);
        EXPECT_EQ(reader.readMessage(), (Json{{"type", "PING"}}));
        EXPECT_EQ(reader.readMessage(), (Json{{"type", "INIT"}}));
        EXPECT_EQ(reader.readMessage(), json::parse(big));
        EXPECT_FALSE(reader.readMessage());  // a payload cut short
    }
    EXPECT_TRUE(capture.lines.empty());
}

TEST(FrameReader, EveryMalformedFrameEndsTheStreamAndOnlyBadJsonIsLogged) {
    Capture capture;
    const auto first = [&](const std::string& input) {
        return FrameReader(readFrom(input, 4096), capture.log).readMessage();
    };
    EXPECT_FALSE(first(""));
    EXPECT_FALSE(first(header(5).substr(0, 3)));
    EXPECT_FALSE(first(header(0) + frameOf("{}")));
    EXPECT_FALSE(first(header(1'000'000) + std::string(1'000'000, ' ')));
    EXPECT_FALSE(first(frameOf(R"(["PING"])")));
    EXPECT_FALSE(first(frameOf(R"("PING")")));
    EXPECT_TRUE(capture.lines.empty());

    EXPECT_FALSE(first(frameOf(R"({"type": PING})")));
    EXPECT_EQ(capture.lines,
              std::vector<std::string>{
                  "[olvanemac-host] readMessage: JSON parse échoué: JSON invalide à l’octet 10\n"});
}

TEST(FrameWriter, WritesWholeFramesAndKeepsBackWhatTheBrowserWouldRefuse) {
    Capture capture;
    OutputGate gate;
    std::string written;
    FrameWriter writer(
        gate, [&](std::string_view bytes) { written.append(bytes); }, capture.log);

    writer.send(Json{{"type", "PONG"}});
    EXPECT_EQ(written, header(15) + R"({"type":"PONG"})");

    written.clear();
    const Json exact = {{"type", "RULES"}, {"rules", std::string(kMaxOutgoingPayload - 27, 'r')}};
    ASSERT_EQ(json::dumpCompact(exact).size(), kMaxOutgoingPayload);
    writer.send(exact);
    EXPECT_EQ(written.size(), kFrameHeaderSize + kMaxOutgoingPayload);
    EXPECT_TRUE(capture.lines.empty());

    written.clear();
    writer.send(Json{{"type", "RULES"}, {"rules", std::string(kMaxOutgoingPayload - 26, 'r')}});
    EXPECT_TRUE(written.empty());
    EXPECT_EQ(capture.lines,
              std::vector<std::string>{
                  "[olvanemac-host] writeMessage: message RULES de 1048577 octets non envoyé, le "
                  "navigateur refuse plus de 1048576 octets\n"});
}

}  // namespace
}  // namespace olvane::host
