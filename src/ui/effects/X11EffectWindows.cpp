#include "ui/effects/X11EffectWindows.h"

#include <QGuiApplication>
#include <QWidget>

#include "platform/linux/X11Connection.h"
#include "platform/linux/X11OverlayStacking.h"
#include "platform/linux/X11OverlayWindows.h"
#include "platform/linux/X11ServerGrab.h"

namespace olvane::ui {

namespace os = platform::os;

std::unique_ptr<X11EffectWindows> X11EffectWindows::create(platform::RunLoop& loop) {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        return nullptr;
    }
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    auto qt = os::X11Connection::borrow(x11 ? x11->connection() : nullptr);
    auto stacking = os::X11OverlayStacking::create(loop);
    if (!qt || !stacking) {
        return nullptr;
    }
    return std::unique_ptr<X11EffectWindows>(
        new X11EffectWindows(std::move(qt), std::move(stacking)));
}

X11EffectWindows::X11EffectWindows(std::unique_ptr<os::X11Connection> qt,
                                   std::unique_ptr<os::X11OverlayStacking> stacking)
    : qt_(std::move(qt)), stacking_(std::move(stacking)) {}

X11EffectWindows::~X11EffectWindows() = default;

void X11EffectWindows::dressAsPanel(QWidget& window) {
    os::overlay::markAsOverlay(*qt_, static_cast<xcb_window_t>(window.winId()));
}

bool X11EffectWindows::fogMustBeManaged() {
    return os::overlay::unmanagedWindowsStayOnTop(*qt_);
}

void X11EffectWindows::dressAsManagedFog(QWidget& window) {
    (void)os::overlay::clearInputRegion(*qt_, static_cast<xcb_window_t>(window.winId()));
}

void X11EffectWindows::showManagedFog(QWidget& window, std::uint32_t target) {
    // Qt rewrites WM_TRANSIENT_FOR at each show from a transient parent, which a window of
    // another application could only be as a foreign window, and Qt writes on those (our icon).
    // Ours replaces Qt's before the window manager can read the properties the map asks it to.
    const os::X11ServerGrab grab(*qt_);
    window.show();
    os::overlay::markAsFog(*qt_, static_cast<xcb_window_t>(window.winId()), target);
}

void X11EffectWindows::dressAsUnmanagedFog(QWidget& window) {
    const auto id = static_cast<xcb_window_t>(window.winId());
    os::overlay::markAsOverlay(*qt_, id);
    (void)os::overlay::clearInputRegion(*qt_, id);
}

void X11EffectWindows::sendRequests() {
    (void)qt_->flush();
}

platform::Handle X11EffectWindows::keepOnTop(QWidget& window) {
    return stacking_->keepOnTop(static_cast<xcb_window_t>(window.winId()));
}

platform::Handle X11EffectWindows::keepJustAbove(QWidget& window, std::uint32_t target) {
    return stacking_->keepJustAbove(static_cast<xcb_window_t>(window.winId()), target);
}

}  // namespace olvane::ui
