#include "platform/linux/X11OverlayWindows.h"

#include <xcb/shape.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "platform/linux/Ewmh.h"
#include "platform/linux/X11Properties.h"

namespace olvane::platform::os::overlay {
namespace {

constexpr std::uint32_t kAllDesktops = 0xFFFFFFFF;
// WM_HINTS: the flags say only the input field is given, and it says no.
constexpr std::uint32_t kInputHint = 1;
constexpr std::size_t kWmHintsLength = 9;

void setAtoms(X11Connection& x, xcb_window_t window, const char* property,
              const std::vector<xcb_atom_t>& atoms) {
    xcb_change_property(x.get(), XCB_PROP_MODE_REPLACE, window, x.atom(property), XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(atoms.size()), atoms.data());
}

void setCardinal(X11Connection& x, xcb_window_t window, const char* property, std::uint32_t value) {
    xcb_change_property(x.get(), XCB_PROP_MODE_REPLACE, window, x.atom(property), XCB_ATOM_CARDINAL,
                        32, 1, &value);
}

// Never focused by the window manager itself; offered the focus (WM_TAKE_FOCUS) or not.
void refuseFocus(X11Connection& x, xcb_window_t window,
                 ClickFocus clicks = ClickFocus::neverOffered) {
    std::array<std::uint32_t, kWmHintsLength> hints{};
    hints[0] = kInputHint;
    xcb_change_property(x.get(), XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_HINTS,
                        XCB_ATOM_WM_HINTS, 32, kWmHintsLength, hints.data());
    // A window that takes WM_TAKE_FOCUS is offered the focus whatever its input hint says.
    const xcb_atom_t protocols = x.atom("WM_PROTOCOLS");
    const xcb_atom_t takeFocus = x.atom("WM_TAKE_FOCUS");
    const auto current = readProperty(x, window, protocols, XCB_ATOM_ATOM);
    if (!current && clicks == ClickFocus::neverOffered) {
        return;
    }
    auto kept = current ? current->words() : std::vector<std::uint32_t>{};
    std::erase(kept, takeFocus);
    if (clicks == ClickFocus::offered) {
        kept.push_back(takeFocus);
    }
    xcb_change_property(x.get(), XCB_PROP_MODE_REPLACE, window, protocols, XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(kept.size()), kept.data());
}

}  // namespace

void markAsOverlay(X11Connection& x, xcb_window_t window) {
    setAtoms(x, window, "_NET_WM_STATE",
             {x.atom("_NET_WM_STATE_ABOVE"), x.atom("_NET_WM_STATE_STICKY"),
              x.atom("_NET_WM_STATE_SKIP_TASKBAR"), x.atom("_NET_WM_STATE_SKIP_PAGER")});
    setCardinal(x, window, "_NET_WM_DESKTOP", kAllDesktops);
    refuseFocus(x, window);
    x.flush();
}

bool unmanagedWindowsStayOnTop(X11Connection& x) {
    const auto name = ewmh::windowManagerName(x);
    return name && (name->starts_with("Mutter") || name->starts_with("GNOME Shell") ||
                    name->starts_with("KWin"));
}

void markAsFog(X11Connection& x, xcb_window_t window, ClickFocus clicks) {
    // Neither above the other windows nor on every desktop: where its target is. KWin's
    // switcher and overview leave out only the ordinary windows that ask to be.
    setAtoms(x, window, "_NET_WM_STATE",
             {x.atom("_NET_WM_STATE_SKIP_TASKBAR"), x.atom("_NET_WM_STATE_SKIP_PAGER"),
              x.atom("_KDE_NET_WM_STATE_SKIP_SWITCHER")});
    setAtoms(x, window, "_NET_WM_WINDOW_TYPE", {x.atom("_NET_WM_WINDOW_TYPE_NORMAL")});
    refuseFocus(x, window, clicks);
    x.flush();
}

void conceal(X11Connection& x, xcb_window_t window) {
    setCardinal(x, window, "_NET_WM_WINDOW_OPACITY", 0);
    x.flush();
}

void reveal(X11Connection& x, xcb_window_t window) {
    xcb_delete_property(x.get(), window, x.atom("_NET_WM_WINDOW_OPACITY"));
    x.flush();
}

bool clearInputRegion(X11Connection& x, xcb_window_t window) {
    if (!x.extensionMajorOpcode(xcb_shape_id)) {
        return false;
    }
    xcb_shape_rectangles(x.get(), XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED,
                         window, 0, 0, 0, nullptr);
    return x.flush();
}

std::optional<xcb_window_t> topLevelOf(X11Connection& x, xcb_window_t window) {
    for (xcb_window_t current = window;;) {
        const XcbPtr<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(x.get(), xcb_query_tree(x.get(), current), nullptr));
        if (!tree) {
            return std::nullopt;
        }
        if (tree->parent == tree->root || tree->parent == XCB_WINDOW_NONE) {
            return current;
        }
        current = tree->parent;
    }
}

std::vector<xcb_window_t> stackingOrder(X11Connection& x) {
    const XcbPtr<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(x.get(), xcb_query_tree(x.get(), x.root()), nullptr));
    if (!tree) {
        return {};
    }
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    return {children, children + xcb_query_tree_children_length(tree.get())};
}

void place(X11Connection& x, xcb_window_t window, const Rect& frame) {
    const auto whole = [](double value) { return static_cast<std::int32_t>(std::lround(value)); };
    const std::uint32_t values[] = {static_cast<std::uint32_t>(whole(frame.x)),
                                    static_cast<std::uint32_t>(whole(frame.y)),
                                    static_cast<std::uint32_t>(std::max(1, whole(frame.width))),
                                    static_cast<std::uint32_t>(std::max(1, whole(frame.height)))};
    xcb_configure_window(x.get(), window,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                             XCB_CONFIG_WINDOW_HEIGHT,
                         values);
    x.flush();
}

void stackJustAbove(X11Connection& x, xcb_window_t window, xcb_window_t sibling) {
    const std::uint32_t values[] = {sibling, XCB_STACK_MODE_ABOVE};
    xcb_configure_window(x.get(), window, XCB_CONFIG_WINDOW_SIBLING | XCB_CONFIG_WINDOW_STACK_MODE,
                         values);
    x.flush();
}

void raise(X11Connection& x, xcb_window_t window) {
    const std::uint32_t values[] = {XCB_STACK_MODE_ABOVE};
    xcb_configure_window(x.get(), window, XCB_CONFIG_WINDOW_STACK_MODE, values);
    x.flush();
}

}  // namespace olvane::platform::os::overlay
