// The fog's Qt window on X11 under a real window manager (each executable starts its own).
#include <gtest/gtest.h>
#include <unistd.h>
#include <xcb/shape.h>

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/Ewmh.h"
#include "platform/linux/X11Properties.h"
#include "support/X11TestWindows.h"
#include "ui/effects/X11EffectWindowsFixture.h"

namespace olvane::ui {
namespace {

namespace os = platform::os;

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kBlue = 0x2040C0;

// The fog over black: near white.
bool isFog(std::uint32_t rgb) {
    return (rgb >> 16 & 0xFF) > 0xE0 && (rgb >> 8 & 0xFF) > 0xE0 && (rgb & 0xFF) > 0xE0;
}

// The target's black through a hole.
bool isClear(std::uint32_t rgb) {
    return (rgb >> 16 & 0xFF) < 0x40 && (rgb >> 8 & 0xFF) < 0x40 && (rgb & 0xFF) < 0x40;
}

// Where the fog stands: shown, right above its target and, when there is another window, under
// it.
Look stackingLook(X11EffectWindowsTest& screen, xcb_window_t fog, xcb_window_t target,
                  xcb_window_t other = XCB_WINDOW_NONE) {
    const auto at = screen.stackPosition(fog);
    const auto under = screen.stackPosition(target);
    Look look;
    look.need("the fog shown", fog != XCB_WINDOW_NONE && at >= 0)
        .need("the fog right above its target", at == under + 1);
    std::string stacking = "fog " + std::to_string(at) + ", target " + std::to_string(under);
    if (other != XCB_WINDOW_NONE) {
        const auto above = screen.stackPosition(other);
        look.need("the other window over the fog", above > at);
        stacking += ", other " + std::to_string(above);
    }
    const auto frame = screen.boundsOf(fog);
    return look.read("stacking", stacking)
        .read("fog's frame", frame ? platform::describe(*frame) : "none");
}

// What must hold from the first look on: the other window unfogged while the fog comes, or the
// fog over the target in sight while the other window comes.
enum class Kept { otherUnfogged, targetFogged };

// The fog under another window that covers part of its target: that window as it is, the rest
// of the target fogged.
Look fogUnderLook(X11EffectWindowsTest& screen, xcb_window_t target, xcb_window_t other,
                  platform::Point covered, platform::Point inSight, Kept kept) {
    const auto fog = X11EffectWindowsTest::windowNamed("fogOverlay");
    const auto otherPixel = screen.pixelAt(covered);
    const auto inSightPixel = screen.pixelAt(inSight);
    Look look = stackingLook(screen, fog, target, other);
    if (kept == Kept::otherUnfogged) {
        look.keep("the other window unfogged", otherPixel == kBlue)
            .need("the target in sight fogged", isFog(inSightPixel));
    } else {
        look.need("the other window unfogged", otherPixel == kBlue)
            .keep("the target in sight fogged", isFog(inSightPixel));
    }
    return look.read("covered, in sight", hexColour(otherPixel) + " " + hexColour(inSightPixel));
}

// Properties (names or prefixes) a window manager writes on the windows it manages.
const std::vector<std::string_view> kWindowManagers = {"WM_STATE",
                                                       "_NET_WM_STATE",
                                                       "_NET_WM_DESKTOP",
                                                       "_NET_WM_ALLOWED_ACTIONS",
                                                       "_NET_FRAME_EXTENTS",
                                                       "_NET_WM_VISIBLE_",
                                                       "_KDE_",
                                                       "_OB_",
                                                       "_GTK_"};

// What the window's own program wrote on it: the window manager's properties left out.
std::map<std::string, std::vector<std::uint8_t>> ownProperties(os::X11Connection& x,
                                                               xcb_window_t window) {
    std::map<std::string, std::vector<std::uint8_t>> own;
    const os::XcbPtr<xcb_list_properties_reply_t> list(
        xcb_list_properties_reply(x.get(), xcb_list_properties(x.get(), window), nullptr));
    if (!list) {
        return own;
    }
    const xcb_atom_t* atoms = xcb_list_properties_atoms(list.get());
    for (int i = 0; i < xcb_list_properties_atoms_length(list.get()); ++i) {
        std::string name = x.atomName(atoms[i]);
        if (std::ranges::none_of(kWindowManagers, [&](auto wm) { return name.starts_with(wm); })) {
            const auto value = os::readProperty(x, window, atoms[i]);
            own[std::move(name)] = value ? value->bytes : std::vector<std::uint8_t>{};
        }
    }
    return own;
}

TEST_F(X11EffectWindowsTest, AFogStaysRightAboveItsTargetUnderAnyWindowBroughtInFront) {
    paint(target_, kBlack);
    const auto targetsOwn = ownProperties(*x_, target_);
    const auto bounds = os::ewmh::windowBounds(*x_, target_);
    ASSERT_TRUE(bounds);
    ShownFog shown(*effects_, target_, *bounds);
    xcb_window_t fog = XCB_WINDOW_NONE;
    ASSERT_TRUE(showsThenHolds([&] {
        fog = windowNamed("fogOverlay");
        const auto middle = pixelAt({bounds->x + 350, bounds->y + 250});
        const auto corner = pixelAt({bounds->maxX() - 2, bounds->maxY() - 2});
        return stackingLook(*this, fog, target_)
            .need("the fog at the target's frame", boundsOf(fog) == bounds)
            .need("the fog drawn", isFog(middle) && isFog(corner))
            .read("middle, corner", hexColour(middle) + " " + hexColour(corner));
    }));
    // Where Qt's logical pixels miss it, a target that did not move must not look moved.
    EXPECT_EQ(platform::describe(shown.overlay->frame()), platform::describe(*bounds));

    // A hole made where the pointer stands opens right there, whatever the desktop's scale.
    shown.state.clearRadius.set(20);
    const platform::Point spot{bounds->x + 120, bounds->y + 90};
    shown.state.editTrail([&](auto& trail) {
        trail.assign(1, TrailPoint{shown.overlay->localPoint(spot), 0, 1});
    });
    EXPECT_TRUE(showsThenHolds([&] {
        const auto centre = pixelAt(spot);
        const auto beside = pixelAt({spot.x + 60, spot.y});
        return Look()
            .need("the hole open", isClear(centre))
            .need("the fog beside it", isFog(beside))
            .read("hole, beside", hexColour(centre) + " " + hexColour(beside));
    }));
    shown.state.editTrail([](auto& trail) { trail.clear(); });

    // Where unmanaged windows would cover every other, transient for its target, out of the
    // taskbar and the switcher; else out of the window manager's hands. Never focused, clicks
    // through, translucent.
    const os::XcbPtr<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
        x_->get(), xcb_get_window_attributes(x_->get(), fog), nullptr));
    ASSERT_TRUE(attributes);
    if (windowManager != test::XServer::WindowManager::openbox) {
        EXPECT_FALSE(attributes->override_redirect);
        const auto transientFor =
            os::readProperty(*x_, fog, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW);
        EXPECT_EQ(transientFor ? transientFor->firstWord() : std::nullopt, target_);
        const auto states = os::ewmh::windowStates(*x_, fog);
        for (const auto* wanted : {"SKIP_TASKBAR", "SKIP_PAGER"}) {
            EXPECT_NE(std::ranges::find(states, wanted), states.end()) << wanted;
        }
        EXPECT_EQ(std::ranges::find(states, "ABOVE"), states.end());
        // KWin's shortcut to a window demanding attention would bring it forward.
        EXPECT_TRUE(waitFor([&] {
            const auto now = os::ewmh::windowStates(*x_, fog);
            return std::ranges::find(now, "DEMANDS_ATTENTION") == now.end();
        }));
    } else {
        EXPECT_TRUE(attributes->override_redirect);
    }
    EXPECT_EQ(os::ewmh::activeWindow(*x_), target_);
    // The application's icon comes while the fog is up, as it does after the first frame: Qt
    // writes it on every window it takes for one of its own.
    QPixmap icon(16, 16);
    icon.fill(Qt::red);
    QApplication::setWindowIcon(QIcon(icon));
    syncQt();
    EXPECT_EQ(ownProperties(*x_, target_), targetsOwn) << "nothing of ours on the target";
    const os::XcbPtr<xcb_shape_get_rectangles_reply_t> input(xcb_shape_get_rectangles_reply(
        x_->get(), xcb_shape_get_rectangles(x_->get(), fog, XCB_SHAPE_SK_INPUT), nullptr));
    ASSERT_TRUE(input);
    EXPECT_EQ(input->rectangles_len, 0);
    const os::XcbPtr<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(x_->get(), xcb_get_geometry(x_->get(), fog), nullptr));
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->depth, 32) << "a window with alpha, for the compositor";

    // Another window comes in front over part of the target: over the fog, which stays right
    // above the target and keeps whitening the rest of it, long after (KWin hides a utility
    // window of an application not in front a moment later).
    const auto other =
        test::makeWindow(*x_, {{300, 250, 600, 500}, "other", "Other", ::getpid(), {}});
    ASSERT_TRUE(waitFor([&] { return isManaged(other); }));
    paint(other, kBlue);
    test::activate(*x_, other);
    const platform::Point covered{bounds->x + 350, bounds->y + 250};
    const platform::Point inSight{bounds->x + 50, bounds->y + 50};
    const auto otherInFront = [&] {
        return fogUnderLook(*this, target_, other, covered, inSight, Kept::targetFogged)
            .need("the other window active", os::ewmh::activeWindow(*x_) == other);
    };
    EXPECT_TRUE(showsThenHolds(otherInFront, 1500));

    // A click on the fog reaches the target, which comes forward with its fog: at once where the
    // window manager raises the fog with its target; a moment later where we restack it.
    test::movePointer(*x_, {bounds->x + 50, bounds->y + 50});
    test::click(*x_);
    const bool raisedTogether = windowManager != test::XServer::WindowManager::openbox;
    EXPECT_TRUE(showsThenHolds([&] {
        const auto frontPixel = pixelAt(covered);
        const auto inSightPixel = pixelAt(inSight);
        Look look = stackingLook(*this, fog, target_);
        look.need("the target active", os::ewmh::activeWindow(*x_) == target_)
            .need("the target over the other window", stackPosition(target_) > stackPosition(other))
            .need("the fog over the part the other window covered", isFog(frontPixel));
        if (raisedTogether) {
            look.keep("the target in sight fogged", isFog(inSightPixel));
        }
        return look.read("covered, in sight",
                         hexColour(frontPixel) + " " + hexColour(inSightPixel));
    }));

    // It follows its target where the window manager would rather place it.
    const platform::Rect moved{160, 140, 420, 320};
    shown.overlay->setFrame(moved);
    EXPECT_TRUE(waitFor([&] { return os::ewmh::windowBounds(*x_, fog) == moved; }));
    EXPECT_EQ(platform::describe(shown.overlay->frame()), platform::describe(moved));

    shown.overlay.reset();
    EXPECT_TRUE(waitFor([&] { return windowNamed("fogOverlay") == XCB_WINDOW_NONE; }));
    EXPECT_EQ(ownProperties(*x_, target_), targetsOwn) << "nothing of ours left on the target";
}

// Where a window manager places a window that does not take the focus under the focused one, or
// above every other, a fog shown over a target that another application's window covers in part
// stays under that one, and never shows over it on the way.
TEST_F(X11EffectWindowsTest, AFogShownUnderAnotherWindowStaysUnderIt) {
    paint(target_, kBlack);
    // One after the other: mutter may give a window the focus some time after it mapped it.
    const auto other =
        test::makeWindow(*x_, {{300, 250, 600, 500}, "other", "Other", ::getpid(), {}});
    ASSERT_TRUE(waitFor([&] { return isManaged(other); }));
    paint(other, kBlue);
    test::activate(*x_, other);
    ASSERT_TRUE(waitFor([&] { return os::ewmh::activeWindow(*x_) == other; }));
    const auto front =
        test::makeWindow(*x_, {{950, 50, 250, 150}, "front", "Front", ::getpid(), {}});
    ASSERT_TRUE(waitFor([&] { return isManaged(front); }));
    test::activate(*x_, front);
    ASSERT_TRUE(waitFor([&] {
        return os::ewmh::activeWindow(*x_) == front && stackPosition(front) > stackPosition(other);
    }));

    const auto bounds = os::ewmh::windowBounds(*x_, target_);
    ASSERT_TRUE(bounds);
    const platform::Point covered{bounds->x + 350, bounds->y + 250};
    const platform::Point inSight{bounds->x + 50, bounds->y + 50};
    ASSERT_TRUE(showsThenHolds([&] {
        const auto otherPixel = pixelAt(covered);
        const auto targetPixel = pixelAt(inSight);
        return Look()
            .need("the windows drawn", otherPixel == kBlue && targetPixel == kBlack)
            .read("covered, in sight", hexColour(otherPixel) + " " + hexColour(targetPixel));
    }));
    ShownFog shown(*effects_, target_, *bounds);
    EXPECT_TRUE(showsThenHolds(
        [&] { return fogUnderLook(*this, target_, other, covered, inSight, Kept::otherUnfogged); },
        1500));
    EXPECT_EQ(os::ewmh::activeWindow(*x_), front);
}

}  // namespace
}  // namespace olvane::ui
