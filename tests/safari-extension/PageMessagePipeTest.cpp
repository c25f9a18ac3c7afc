#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

#include "model/exchange/ExchangeFiles.h"
#include "model/exchange/FrameCodec.h"
#include "platform/linux/DiskFileSystem.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "safari-extension/PageMessagePipe.h"
#include "support/TempHome.h"

namespace olvane::safari {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

class NoApplication final : public ApplicationOpener {
  public:
    std::optional<std::filesystem::path> urlForApplication(std::string_view) const override {
        return std::nullopt;
    }
    platform::Status openApplication(const std::filesystem::path&) override {
        return platform::Status::success();
    }
};

// Runs the pipe over `frames` and returns the frames it wrote.
std::vector<Json> serve(SafariExtensionHandler& handler, const std::string& frames) {
    File in(std::tmpfile());
    File out(std::tmpfile());
    std::fwrite(frames.data(), 1, frames.size(), in.get());
    std::rewind(in.get());
    PageMessagePipe(handler, in.get(), out.get()).run();
    std::rewind(out.get());
    std::vector<Json> written;
    while (const auto payload = exchange::readFrame(out.get())) {
        written.push_back(*json::parse(*payload));
    }
    return written;
}

std::string frame(const Json& object) {
    return exchange::encodeFrame(object.dump());
}

TEST(PageMessagePipe, RepliesToTheSendingPageAndStopsAtAMalformedFrame) {
    test::TempHome home;
    const auto paths = home.paths();
    platform::sim::ManualRunLoop loop;
    NoApplication opener;
    platform::os::DiskFileSystem files;
    SafariExtensionHandler handler(paths, files, loop.clock(), opener);
    platform::sim::ScopedLogCapture capture;

    const auto written = serve(
        handler, frame({{"name", "PAGE_INIT"}, {"page", 7}, {"userInfo", {{"url", "a:b"}}}}) +
                     frame({{"name", "PAGE_INIT"}}) + frame({{"event", "validateToolbarItem"}}) +
                     frame({{"event", "closeTab"}}) + frame({{"event", "toolbarItemClicked"}}) +
                     exchange::encodeFrame("[1]") + frame({{"name", "FULLSCREEN_VIDEO"}}));

    const Json config = {
        {"rules", Json::object()}, {"hasDelay", false}, {"delaySeconds", 0}, {"delayName", ""}};
    ASSERT_EQ(written.size(), 3u);
    EXPECT_EQ(written[0], (Json{{"name", "PAGE_CONFIG"}, {"page", 7}, {"userInfo", config}}));
    EXPECT_EQ(written[1], (Json{{"name", "PAGE_CONFIG"}, {"userInfo", config}}));
    EXPECT_EQ(written[2],
              (Json{{"event", "toolbarItemValidated"}, {"enabled", true}, {"badgeText", ""}}));
    EXPECT_TRUE(capture->contains("Message inconnu: closeTab"));
    // Nothing after the array was served.
    EXPECT_FALSE(std::filesystem::exists(paths.sharedContainer() / "fullscreen-command.json"));
}

}  // namespace
}  // namespace olvane::safari
