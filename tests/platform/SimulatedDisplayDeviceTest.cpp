#include <gtest/gtest.h>

#include "platform/FileIO.h"
#include "platform/sim/SimulatedDisplayDevice.h"
#include "support/TempHome.h"

namespace olvane::platform::sim {
namespace {

namespace fs = std::filesystem;

class SimulatedDisplayDeviceTest : public ::testing::Test {
  protected:
    RemapConnection openDisplay(SimulatedDisplayDevice& device, const std::string& id) {
        RemapConnection connection = 0;
        EXPECT_EQ(device.open(id, connection), remap::kSuccess);
        return connection;
    }

    test::TempHome home_;
    fs::path file_ = SimulatedDisplayFile::defaultPath(home_.paths());
    SimulatedDisplayDevice device_{file_};
};

TEST_F(SimulatedDisplayDeviceTest, MissingFileIsOneBuiltInDisplayInColour) {
    EXPECT_EQ(file_, home_.root() / "runtime" / "OlvaneMac" / "simulated-display.json");
    const auto services = device_.matchServices();
    ASSERT_TRUE(services);
    ASSERT_EQ(services->size(), 1u);
    EXPECT_EQ((*services)[0].service, "builtin-0");
    EXPECT_EQ((*services)[0].external, ExternalProperty::False);

    const auto connection = openDisplay(device_, "builtin-0");
    std::uint32_t mode = 7;
    EXPECT_EQ(device_.getMode(connection, mode), remap::kSuccess);
    EXPECT_EQ(mode, 0u);
    EXPECT_EQ(device_.setMode(connection, 0), remap::kSuccess);
    EXPECT_FALSE(fs::exists(file_)) << "writing the mode it has changes nothing";

    EXPECT_EQ(device_.setMode(connection, 2), remap::kSuccess);
    EXPECT_EQ(readWholeFile(file_),
              "{\"displays\":[{\"id\":\"builtin-0\",\"external\":false,\"mode\":2}]}\n");
    EXPECT_EQ(test::permissionsOf(file_), 0600u);
    EXPECT_EQ(test::permissionsOf(file_.parent_path()), 0700u);

    // Another process's device sees the same display.
    SimulatedDisplayDevice other(file_);
    const auto seen = openDisplay(other, "builtin-0");
    EXPECT_EQ(other.getMode(seen, mode), remap::kSuccess);
    EXPECT_EQ(mode, 2u);
}

TEST_F(SimulatedDisplayDeviceTest, ScriptedDisplaysKeepWhatTheDeviceDoesNotKnow) {
    ASSERT_TRUE(ensurePrivateFolder(file_.parent_path()));
    ASSERT_TRUE(writeFileAtomically(file_, R"({"displays": [
        {"id": "panel", "mode": 0, "name": "Écran intégré"},
        {"id": "tv", "external": "yes", "mode": 2},
        {"id": "hdmi", "external": true}], "note": 1})"));
    const auto services = device_.matchServices();
    ASSERT_TRUE(services);
    EXPECT_EQ((*services)[0].external, ExternalProperty::Absent);
    EXPECT_EQ((*services)[1].external, ExternalProperty::NotBoolean);
    EXPECT_EQ((*services)[2].external, ExternalProperty::True);

    const auto hdmi = openDisplay(device_, "hdmi");
    ASSERT_EQ(device_.setMode(hdmi, 2), remap::kSuccess);
    const auto state = SimulatedDisplayFile::read(file_);
    ASSERT_TRUE(state);
    EXPECT_EQ(state->mode("hdmi"), 2u);
    EXPECT_EQ(state->mode("tv"), 2u);
    const auto text = readWholeFile(file_).value_or("");
    EXPECT_NE(text.find("\"name\":\"Écran intégré\""), std::string::npos);
    EXPECT_NE(text.find("\"note\":1"), std::string::npos);

    RemapConnection none = 0;
    EXPECT_EQ(device_.open("gone", none), remap::kNotFound);
}

TEST_F(SimulatedDisplayDeviceTest, MalformedFileIsNeverOverwritten) {
    const auto connection = openDisplay(device_, "builtin-0");
    for (const char* bad : {"{\"displays\": [", "[]", "{\"displays\": [{\"mode\": 2}]}",
                            "{\"displays\": [{\"id\": \"x\", \"mode\": -1}]}",
                            "{\"displays\": [{\"id\": \"x\", \"mode\": 4294967296}]}"}) {
        ASSERT_TRUE(ensurePrivateFolder(file_.parent_path()));
        ASSERT_TRUE(writeFileAtomically(file_, bad));
        EXPECT_EQ(device_.matchServices(), std::nullopt) << bad;
        EXPECT_EQ(device_.setMode(connection, 2), remap::kFailed) << bad;
        EXPECT_EQ(readWholeFile(file_), bad);
    }
}

TEST_F(SimulatedDisplayDeviceTest, DisplayThatWentAwayIsNotFound) {
    SimulatedDisplayFile two;
    two.addDisplay("hdmi", true, 0);
    ASSERT_TRUE(two.write(file_));
    const auto hdmi = openDisplay(device_, "hdmi");
    ASSERT_TRUE(SimulatedDisplayFile().write(file_));
    EXPECT_EQ(device_.setMode(hdmi, 2), remap::kNotFound);
    std::uint32_t mode = 0;
    EXPECT_EQ(device_.getMode(hdmi, mode), remap::kNotFound);
    device_.close(hdmi);
    EXPECT_EQ(device_.setMode(hdmi, 2), remap::kBadArgument);
}

TEST_F(SimulatedDisplayDeviceTest, SignalSafeResetPutsOnlyItsDisplayBackToColour) {
    SimulatedDisplayFile two;
    two.addDisplay("hdmi", true, 2);
    ASSERT_TRUE(two.write(file_));
    const auto builtin = openDisplay(device_, "builtin-0");
    ASSERT_EQ(device_.setMode(builtin, 2), remap::kSuccess);

    const auto reset = device_.signalSafeSetMode();
    EXPECT_EQ(reset(builtin, 2), remap::kUnsupported);
    EXPECT_EQ(reset(0, 0), remap::kBadArgument);
    ASSERT_EQ(reset(builtin, 0), remap::kSuccess);
    const auto state = SimulatedDisplayFile::read(file_);
    ASSERT_TRUE(state);
    EXPECT_EQ(state->mode("builtin-0"), 0u);
    EXPECT_EQ(state->mode("hdmi"), 2u);
    for (const auto& entry : fs::directory_iterator(file_.parent_path())) {
        EXPECT_EQ(entry.path().filename(), "simulated-display.json") << "no temporary left";
    }
}

}  // namespace
}  // namespace olvane::platform::sim
