// The turtle's pointer input chosen at start, and what the user is told when it lacks access.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "app/PointerInputChoice.h"
#include "friction/TurtleEffectService.h"
#include "grayscale/AccessibilityBridge.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/SimKeyEventSource.h"
#include "support/TempHome.h"
#include "support/XServer.h"

namespace olvane {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// Sets (or, with no value, removes) one environment variable for the life of the object.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            saved_ = old;
        }
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedVariable() { saved_ ? ::setenv(name_, saved_->c_str(), 1) : ::unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> saved_;
};

// No input device and no uinput: what a session without the module or the rights looks like.
platform::os::InputDevicePlaces nowhere(const test::TempHome& home) {
    return {home.root() / "input", home.root() / "uinput"};
}

TEST(PointerInputChoice, AWaylandSessionWithoutAccessExplainsOnceHowToGrantIt) {
    test::TempHome home;
    ScopedVariable wayland("WAYLAND_DISPLAY", "wayland-0");
    ScopedVariable noSessionBus("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
    platform::sim::ManualRunLoop loop;
    PointerInputChoice choice(loop, nowhere(home));
    EXPECT_THAT(choice.description(), StartsWith("evdev et uinput, inaccessibles"));
    EXPECT_FALSE(choice.trust().isProcessTrusted());

    platform::sim::SimKeyEventSource keys;
    platform::Observable<ActiveEffects::Set> effects;
    TurtleEffectService turtle(
        {loop, choice.eventTap(), keys, choice.trust(),
         [&](bool prompt) { return checkAccessibilityPermissions(choice.trust(), prompt); },
         ActiveEffects(effects)});
    platform::sim::ScopedLogCapture log;
    EXPECT_FALSE(turtle.activate(TurtleIntensity::medium));
    EXPECT_FALSE(turtle.activate(TurtleIntensity::medium));
    const auto explanation = inputAccessExplanation((home.root() / "uinput").string() +
                                                    " n’existe pas (module uinput non chargé)");
    EXPECT_EQ(log->count(explanation), 1u);
    EXPECT_THAT(explanation, HasSubstr("usermod -aG input"));
}

TEST(PointerInputChoice, AnX11SessionWithoutAccessPullsThePointerBackThroughX11) {
    test::TempHome home;
    test::XServer server({.windowManager = true});
    ASSERT_TRUE(server.ready());
    ScopedVariable noWayland("WAYLAND_DISPLAY", nullptr);
    ScopedVariable x11Session("XDG_SESSION_TYPE", "x11");
    platform::sim::ManualRunLoop loop;
    PointerInputChoice choice(loop, nowhere(home));
    EXPECT_THAT(choice.description(), StartsWith("XInput2, pointeur ramené par X11"));
    EXPECT_TRUE(choice.trust().isProcessTrusted());
    EXPECT_NE(dynamic_cast<platform::os::X11EventTap*>(&choice.eventTap()), nullptr);
}

}  // namespace
}  // namespace olvane
