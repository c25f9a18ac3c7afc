// The CTM device against a real X server (Xvfb), whose output is given a "CTM" property first.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/linux/RandrCtmDevice.h"
#include "support/CtmOutputs.h"
#include "support/XServer.h"

namespace olvane::platform::os {
namespace {

using namespace std::chrono_literals;

const CtmWords kGrey = encodeCtm(kGrayscaleMatrix);
const CtmWords kIdentity = encodeCtm(kIdentityMatrix);

bool everyOutputHolds(const std::string& display, const CtmWords& words) {
    const auto outputs = test::ctmOfOutputs(display);
    return !outputs.empty() &&
           std::all_of(outputs.begin(), outputs.end(), [&](const auto& w) { return w == words; });
}

class RandrCtmDeviceTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(server_.ready()); }

    // Opens the device's one service; 0 when it offers none.
    RemapConnection openService() {
        const auto services = device_.matchServices();
        if (!services || services->size() != 1) {
            return 0;
        }
        RemapConnection connection = 0;
        EXPECT_EQ(device_.open(services->front().service, connection), remap::kSuccess);
        return connection;
    }

    test::XServer server_;
    RandrCtmDevice device_{nullptr};
};

TEST_F(RandrCtmDeviceTest, AServerWithoutCtmOffersNoService) {
    ASSERT_EQ(device_.load().outcome, RemapLoadResult::Outcome::Loaded);
    const auto services = device_.matchServices();
    ASSERT_TRUE(services);
    EXPECT_TRUE(services->empty());
    EXPECT_TRUE(device_.coveredOutputNames().empty());
    device_.unload();
}

TEST_F(RandrCtmDeviceTest, NoServerIsAMissingDriver) {
    RandrCtmDevice nowhere(nullptr, ":4095");
    const auto loaded = nowhere.load();
    EXPECT_EQ(loaded.outcome, RemapLoadResult::Outcome::FrameworkMissing);
    EXPECT_FALSE(loaded.error.empty());
}

TEST_F(RandrCtmDeviceTest, ModesWriteTheMatricesOnEveryCtmOutput) {
    ASSERT_TRUE(test::addCtmToOutputs(server_.display()));
    ASSERT_EQ(device_.load().outcome, RemapLoadResult::Outcome::Loaded);
    EXPECT_FALSE(device_.coveredOutputNames().empty());
    const auto connection = openService();
    ASSERT_NE(connection, 0u);

    std::uint32_t mode = 99;
    ASSERT_EQ(device_.setMode(connection, kRemapModeGrayscale), remap::kSuccess);
    EXPECT_TRUE(everyOutputHolds(server_.display(), kGrey));
    ASSERT_EQ(device_.getMode(connection, mode), remap::kSuccess);
    EXPECT_EQ(mode, kRemapModeGrayscale);

    ASSERT_EQ(device_.setMode(connection, kRemapModeColour), remap::kSuccess);
    EXPECT_TRUE(everyOutputHolds(server_.display(), kIdentity));
    ASSERT_EQ(device_.getMode(connection, mode), remap::kSuccess);
    EXPECT_EQ(mode, kRemapModeColour);
    EXPECT_EQ(device_.setMode(connection, 1), remap::kUnsupported);

    // The crash handlers' path: ready-made requests written on a socket of their own.
    ASSERT_EQ(device_.setMode(connection, kRemapModeGrayscale), remap::kSuccess);
    ASSERT_EQ(device_.signalSafeSetMode()(connection, kRemapModeColour), remap::kSuccess);
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!everyOutputHolds(server_.display(), kIdentity) &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_TRUE(everyOutputHolds(server_.display(), kIdentity));

    device_.close(connection);
    device_.unload();
}

}  // namespace
}  // namespace olvane::platform::os
