// What OlvaneMac tells of GNOME Shell's extension, in a real headless GNOME Shell 43.
#include <gtest/gtest.h>

#include "app/CompositorCompanion.h"
#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/PidfdProcessWatcher.h"
#include "platform/sim/CaptureLogSink.h"
#include "support/WaylandDesktop.h"

namespace olvane {
namespace {

namespace fs = std::filesystem;

class CompositorCompanionTest : public ::testing::Test {
  protected:
    void start(bool extensionAtLogin) {
        if (!test::WaylandDesktop::installed(test::WaylandDesktop::Kind::gnomeShell)) {
            GTEST_SKIP() << "GNOME Shell absent";
        }
        desktop_.emplace(test::WaylandDesktop::Options{.companionExtension = extensionAtLogin});
        ASSERT_TRUE(desktop_->ready()) << desktop_->why();
        paths_.emplace(platform::Paths::fromProcessEnvironment());
    }

    void createCompanion() {
        companion_ = CompositorCompanion::create(loop_, processes_, *paths_, {});
        ASSERT_TRUE(companion_);
    }

    bool logged(const std::string& words) {
        const auto said = [&] {
            for (const auto& line : log_->lines()) {
                if (line.text.find(words) != std::string::npos) {
                    return true;
                }
            }
            return false;
        };
        return said() || loop_.runUntil(said, test::kPatience);
    }

    platform::sim::ScopedLogCapture log_;
    std::optional<test::WaylandDesktop> desktop_;
    std::optional<platform::Paths> paths_;
    platform::os::EpollRunLoop loop_;
    platform::os::PidfdProcessWatcher processes_{loop_};
    std::unique_ptr<CompositorCompanion> companion_;
};

TEST_F(CompositorCompanionTest, AnExtensionInstalledSinceTheLoginWaitsForTheNext) {
    start(false);
    const auto folder =
        paths_->dataHome() / "gnome-shell/extensions" / CompositorCompanion::kGnomeExtensionUuid;
    fs::create_directories(folder);
    for (const char* file : {"extension.js", "metadata.json"}) {
        fs::copy_file(fs::path(OLVANE_GNOME_EXTENSION_FLAVOURS) / "legacy" / file, folder / file);
    }
    createCompanion();
    EXPECT_TRUE(logged("fermez la session puis rouvrez-la"));
    EXPECT_FALSE(companion_->windows().live());
}

TEST_F(CompositorCompanionTest, ExtensionsSwitchedOffByTheUserAreSaidAndLeftSo) {
    start(true);
    createCompanion();
    ASSERT_TRUE(logged("attaché : toutes les fenêtres de la session sont vues"));
    test::ChildProcess off("/usr/bin/gsettings",
                           {"set", "org.gnome.shell", "disable-user-extensions", "true"});
    ASSERT_TRUE(off.wait(test::kPatience));
    EXPECT_TRUE(logged("seules les applications X11 sont vues"));
    EXPECT_TRUE(logged("Les extensions de GNOME Shell sont désactivées"));
    test::ChildProcess enabled("/usr/bin/gsettings",
                               {"get", "org.gnome.shell", "enabled-extensions"});
    EXPECT_NE(
        enabled.readStdoutToEnd(test::kPatience).find(CompositorCompanion::kGnomeExtensionUuid),
        std::string::npos);
    test::ChildProcess still("/usr/bin/gsettings",
                             {"get", "org.gnome.shell", "disable-user-extensions"});
    EXPECT_EQ(still.readStdoutToEnd(test::kPatience), "true\n");
}

}  // namespace
}  // namespace olvane
