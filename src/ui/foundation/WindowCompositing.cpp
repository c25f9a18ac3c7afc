#include "ui/foundation/WindowCompositing.h"

#include <QGuiApplication>
#include <string>

// After Qt: Xlib's macros would rewrite Qt's names.
#include <X11/Xlib.h>

namespace olvane::ui {

bool translucentWindowsAreComposited() {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        return true;
    }
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) {
        return false;
    }
    // A compositing manager owns this selection for the screen it composites.
    const std::string selection = "_NET_WM_CM_S" + std::to_string(XDefaultScreen(display));
    const Atom atom = XInternAtom(display, selection.c_str(), False);
    return XGetSelectionOwner(display, atom) != 0;
}

}  // namespace olvane::ui
