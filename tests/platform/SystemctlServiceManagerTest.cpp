// The real manager against a stand-in `systemctl` that records its arguments: the user's own
// service manager is never touched.
#include <gtest/gtest.h>

#include "platform/FileIO.h"
#include "platform/linux/SystemctlServiceManager.h"
#include "support/TempHome.h"

namespace olvane::platform::os {
namespace {

namespace fs = std::filesystem;

class SystemctlServiceManagerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(home_.root() / "runtime" / "systemd");
        ASSERT_TRUE(writeFileInPlace(home_.root() / "runtime" / "systemd" / "private", ""));
        ASSERT_TRUE(writeFileInPlace(script_,
                                     "#!/bin/sh\n"
                                     "echo \"$*\" >> \"$(dirname \"$0\")/calls\"\n"
                                     "case \"$*\" in\n"
                                     "  *is-enabled*) exit 1 ;;\n"
                                     "  *restart*) echo 'Failed to restart: no such unit' >&2; "
                                     "exit 5 ;;\n"
                                     "esac\n",
                                     0700));
    }

    std::string calls() { return readWholeFile(home_.root() / "calls").value_or(""); }

    test::TempHome home_;
    fs::path script_ = home_.root() / "systemctl";
};

TEST_F(SystemctlServiceManagerTest, SpeaksToTheUserManager) {
    SystemctlServiceManager manager(home_.paths(), script_.string());
    ASSERT_TRUE(manager.isRunning());
    EXPECT_TRUE(manager.reload());
    EXPECT_TRUE(manager.enable("com.olvane.watchdog.service"));
    EXPECT_TRUE(manager.disableAndStop("com.olvane.watchdog.service"));
    EXPECT_TRUE(manager.isActive("com.olvane.watchdog.service"));
    EXPECT_FALSE(manager.isEnabled("com.olvane.watchdog.service"));
    const auto failed = manager.restart("com.olvane.watchdog.service");
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.description(),
              "« systemctl --user restart com.olvane.watchdog.service » a échoué (code 5) : "
              "Failed to restart: no such unit");
    EXPECT_EQ(calls(),
              "--user daemon-reload\n"
              "--user enable com.olvane.watchdog.service\n"
              "--user disable --now com.olvane.watchdog.service\n"
              "--user is-active --quiet com.olvane.watchdog.service\n"
              "--user is-enabled --quiet com.olvane.watchdog.service\n"
              "--user restart com.olvane.watchdog.service\n");
}

TEST_F(SystemctlServiceManagerTest, WithoutAUserManagerNothingRuns) {
    fs::remove(home_.root() / "runtime" / "systemd" / "private");
    SystemctlServiceManager manager(home_.paths(), script_.string());
    EXPECT_FALSE(manager.isRunning());
    EXPECT_FALSE(manager.enable("x.service"));
    EXPECT_FALSE(manager.isEnabled("x.service"));
    EXPECT_EQ(calls(), "");

    fs::create_directories(home_.root() / "runtime" / "systemd");
    ASSERT_TRUE(writeFileInPlace(home_.root() / "runtime" / "systemd" / "private", ""));
    SystemctlServiceManager missing(home_.paths(), (home_.root() / "nothing-here").string());
    EXPECT_EQ(missing.reload().description(),
              "Impossible de lancer « systemctl --user daemon-reload »");
}

}  // namespace
}  // namespace olvane::platform::os
