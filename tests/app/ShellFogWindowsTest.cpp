// The fog of a GNOME Wayland session drawn inside a real headless GNOME Shell 43 by its
// extension, over a native window and under what comes in front, as the screen shows it.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "app/ShellFogWindows.h"
#include "friction/FogEffectService.h"
#include "platform/LoopFrameClock.h"
#include "platform/linux/EpollRunLoop.h"
#include "platform/linux/PidfdProcessWatcher.h"
#include "platform/linux/SystemClock.h"
#include "platform/linux/compositor/CompanionPointer.h"
#include "platform/linux/compositor/CompanionWindowServer.h"
#include "platform/linux/compositor/CompanionWorkspace.h"
#include "platform/sim/SimOverlayWindows.h"
#include "support/WaylandDesktop.h"

namespace olvane {
namespace {

using namespace std::chrono_literals;
namespace os = platform::os;

class ShellFogWindowsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!test::WaylandDesktop::installed(test::WaylandDesktop::Kind::gnomeShell)) {
            GTEST_SKIP() << "GNOME Shell absent";
        }
        desktop_ = std::make_unique<test::WaylandDesktop>(test::WaylandDesktop::Options{
            .kind = test::WaylandDesktop::Kind::gnomeShell, .size = screenSize()});
        ASSERT_TRUE(desktop_->ready()) << desktop_->why();
        bus_ = os::AsyncBus::open(loop_);
        ASSERT_TRUE(bus_);
        link_ = os::CompanionLink::create(loop_, *bus_);
        ASSERT_TRUE(link_);
        windows_ = std::make_unique<os::CompanionWindows>(*link_);
        windowServer_ = std::make_unique<os::CompanionWindowServer>(*windows_, nullptr);
        pointer_ = std::make_unique<os::CompanionPointer>(loop_, *link_, *windows_, nullptr);
        fogWindows_ = std::make_unique<ShellFogWindows>(*link_, *windows_, ownWindows_);
        fog_ = std::make_unique<FogEffectService>(
            FogEffectService::Collaborators{*fogWindows_, frames_, *pointer_, clock_});
        fog_->setIntensity(FogIntensity::medium);
        ASSERT_TRUE(until([this] { return windows_->live(); }));
    }

    virtual std::string screenSize() const { return "1280x800"; }

    // What the screen shows, for a person to look at.
    void saveArtefact(const std::string& name) {
        const auto folder = std::filesystem::path(OLVANE_BUILD_DIR) / "artefacts";
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(desktop_->screenshot("shot"), folder / (name + ".png"),
                                   std::filesystem::copy_options::overwrite_existing);
    }

    bool until(const std::function<bool()>& condition) {
        return condition() || loop_.runUntil(condition, test::kPatience);
    }

    // The Shell places a window as it first shows it: a report from before may still stand.
    bool reportedWhereTheShellHasIt(pid_t pid) {
        const auto shell = desktop_->shellEval(
            "const w = global.display.list_all_windows().find(w => w.get_pid() === " +
            std::to_string(pid) +
            "); const r = w?.get_compositor_private()?.is_mapped() ? w.get_frame_rect() : null;"
            "r ? `${r.x} ${r.y} ${r.width} ${r.height}` : ''");
        for (const auto& window : windows_->report().windows) {
            if (window.pid == pid) {
                const auto& f = window.frame;
                return shell == "\"" + std::to_string(int(f.x)) + " " + std::to_string(int(f.y)) +
                                    " " + std::to_string(int(f.width)) + " " +
                                    std::to_string(int(f.height)) + "\"";
            }
        }
        return false;
    }

    std::optional<TargetWindow> targetOf(pid_t pid) {
        if (!reportedWhereTheShellHasIt(pid)) {
            return std::nullopt;
        }
        const auto list = windowServer_->windowList(platform::WindowListScope::OnScreenOnly)
                              .value_or(std::vector<platform::WindowInfo>{});
        for (const auto& window : list) {
            // Before its first frame a window has no size yet.
            if (window.ownerPid == pid && window.bounds.width > 100) {
                return TargetWindow{window.windowNumber, window.bounds};
            }
        }
        return std::nullopt;
    }

    // The grey of the screen at each point, once `shows` holds of them.
    bool screenShows(const std::vector<QPoint>& points,
                     const std::function<bool(const std::vector<int>&)>& shows,
                     std::vector<int>& seen) {
        return until([&] {
            const QImage shot(QString::fromStdString(desktop_->screenshot("shot").string()));
            if (shot.isNull()) {
                return false;
            }
            seen.clear();
            for (const auto& point : points) {
                seen.push_back(qGray(shot.pixel(point)));
            }
            return shows(seen);
        });
    }

    std::unique_ptr<test::WaylandDesktop> desktop_;
    os::EpollRunLoop loop_;
    os::SystemClock clock_;
    platform::LoopFrameClock frames_{loop_, FogEffectService::kMinFrameInterval};
    std::unique_ptr<os::AsyncBus> bus_;
    std::unique_ptr<os::CompanionLink> link_;
    std::unique_ptr<os::CompanionWindows> windows_;
    std::unique_ptr<os::CompanionWindowServer> windowServer_;
    std::unique_ptr<os::CompanionPointer> pointer_;
    platform::sim::SimOverlayWindows<FogEffectState> ownWindows_;
    std::unique_ptr<ShellFogWindows> fogWindows_;
    std::unique_ptr<FogEffectService> fog_;
};

TEST_F(ShellFogWindowsTest, CoversTheNativeWindowUnderWhatComesInFrontClearUnderThePointer) {
    test::NativeWindow target("so.olvane.test.Target", "Target", "640x400", "#000000");
    ASSERT_TRUE(target.ready());
    std::optional<TargetWindow> window;
    ASSERT_TRUE(until([&] { return (window = targetOf(target.pid())).has_value(); }));
    fog_->activate({*window});
    ASSERT_EQ(fog_->overlays().size(), 1u);
    EXPECT_TRUE(ownWindows_.made().empty());

    // Near white over the window's black, the desktop left as it is beside it.
    const auto& b = window->bounds;
    const QPoint inside(int(b.x + b.width - 20), int(b.y + b.height - 20));
    const QPoint beside(int(b.x + b.width + 20), int(b.y + b.height - 20));
    std::vector<int> seen;
    int desktopGrey = -1;
    EXPECT_TRUE(screenShows(
        {inside, beside},
        [&](const std::vector<int>& grey) {
            desktopGrey = grey[1];
            return grey[0] > 240 && grey[1] < 200;
        },
        seen))
        << seen[0] << " " << seen[1] << desktop_->compositorLog();

    // Clear under the pointer; the hole fills in once the pointer leaves.
    const QPoint middle(int(b.x + b.width / 2), int(b.y + b.height / 2 + 20));
    desktop_->movePointer(middle.x() - 40, middle.y());
    desktop_->movePointer(middle.x(), middle.y());
    EXPECT_TRUE(screenShows(
        {middle, inside},
        [](const std::vector<int>& grey) { return grey[0] < 60 && grey[1] > 240; }, seen))
        << seen[0] << " " << seen[1];

    saveArtefact("shell-fog-hole");

    // A window in front is never fogged.
    test::NativeWindow front("so.olvane.test.Front", "Front", "300x300", "#000000");
    ASSERT_TRUE(front.ready());
    std::optional<TargetWindow> frontWindow;
    ASSERT_TRUE(until([&] { return (frontWindow = targetOf(front.pid())).has_value(); }));
    const auto& f = frontWindow->bounds;
    const QPoint onFront(int(f.x + f.width / 2), int(f.y + f.height - 20));
    EXPECT_TRUE(screenShows(
        {onFront}, [](const std::vector<int>& grey) { return grey[0] < 30; }, seen))
        << seen[0];

    // The fog goes with OlvaneMac's name.
    fog_.reset();
    fogWindows_.reset();
    pointer_.reset();
    link_.reset();
    EXPECT_TRUE(screenShows(
        {inside}, [](const std::vector<int>& grey) { return grey[0] < 30; }, seen))
        << seen[0] << " beside " << desktopGrey;
}

// GNOME lays a doubled screen out in device pixels: the hole keeps its size in points.
class ShellFogOnADoubledScreenTest : public ShellFogWindowsTest {
  protected:
    std::string screenSize() const override { return "2560x1600"; }
};

TEST_F(ShellFogOnADoubledScreenTest, OpensItsHoleAsWideInPointsAsOnAnyScreen) {
    ASSERT_TRUE(desktop_->setMonitorScale(2));
    test::NativeWindow target("so.olvane.test.Target", "Target", "640x400", "#000000");
    ASSERT_TRUE(target.ready());
    std::optional<TargetWindow> window;
    ASSERT_TRUE(until([&] { return (window = targetOf(target.pid())).has_value(); }));
    fog_->activate({*window});

    // Medium: 150 points, 300 pixels here; 200 pixels from the pointer is within the hole.
    const auto& b = window->bounds;
    const QPoint middle(int(b.x + b.width / 2), int(b.y + b.height / 2));
    desktop_->movePointer(middle.x() - 40, middle.y());
    desktop_->movePointer(middle.x(), middle.y());
    const QPoint inHole(middle.x() + 200, middle.y());
    // And over the window's client area exactly.
    const QPoint corner(int(b.x + b.width - 20), int(b.y + b.height - 20));
    const QPoint beside(int(b.x + b.width + 20), int(b.y + b.height - 20));
    const QPoint below(int(b.x + b.width - 20), int(b.y + b.height + 20));
    std::vector<int> seen;
    EXPECT_TRUE(screenShows(
        {middle, inHole, corner, beside, below},
        [](const std::vector<int>& grey) {
            return grey[0] < 60 && grey[1] > 60 && grey[1] < 200 && grey[2] > 240 &&
                   grey[3] < 200 && grey[4] < 200;
        },
        seen))
        << seen[0] << " " << seen[1] << " " << seen[2] << " " << seen[3] << " " << seen[4];
    saveArtefact("shell-fog-doubled-screen");
}

}  // namespace
}  // namespace olvane
