#include "ui/effects/X11EffectWindows.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include "platform/linux/Ewmh.h"
#include "platform/linux/SessionType.h"
#include "platform/linux/X11Connection.h"
#include "platform/linux/X11OverlayClickFocus.h"
#include "platform/linux/X11OverlayStacking.h"
#include "platform/linux/X11OverlayWindows.h"

namespace olvane::ui {

namespace os = platform::os;

// The window manager's offers of the focus (WM_TAKE_FOCUS) come to the window's owner, Qt, which
// would hand them to a modal window of ours: a fog's are taken from it.
class X11EffectWindows::FocusOffers final : public QAbstractNativeEventFilter {
  public:
    FocusOffers(os::X11Connection& qt, os::X11OverlayClickFocus& clickFocus)
        : clickFocus_(clickFocus),
          protocols_(qt.atom("WM_PROTOCOLS")),
          takeFocus_(qt.atom("WM_TAKE_FOCUS")) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != QByteArrayLiteral("xcb_generic_event_t")) {
            return false;
        }
        const auto& event = *static_cast<const xcb_generic_event_t*>(message);
        if ((event.response_type & 0x7F) != XCB_CLIENT_MESSAGE) {
            return false;
        }
        const auto& offer = reinterpret_cast<const xcb_client_message_event_t&>(event);
        return offer.type == protocols_ && offer.format == 32 &&
               offer.data.data32[0] == takeFocus_ &&
               clickFocus_.offered(offer.window, offer.data.data32[1]);
    }

  private:
    os::X11OverlayClickFocus& clickFocus_;
    xcb_atom_t protocols_;
    xcb_atom_t takeFocus_;
};

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
    // On an X11 desktop a click through the fog goes to its target, and the window manager sees
    // it there.
    auto clickFocus = os::isWaylandSession() ? os::X11OverlayClickFocus::create(loop) : nullptr;
    return std::unique_ptr<X11EffectWindows>(
        new X11EffectWindows(std::move(qt), std::move(stacking), std::move(clickFocus)));
}

X11EffectWindows::X11EffectWindows(std::unique_ptr<os::X11Connection> qt,
                                   std::unique_ptr<os::X11OverlayStacking> stacking,
                                   std::unique_ptr<os::X11OverlayClickFocus> clickFocus)
    : qt_(std::move(qt)), stacking_(std::move(stacking)), clickFocus_(std::move(clickFocus)) {
    if (clickFocus_) {
        focusOffers_ = std::make_unique<FocusOffers>(*qt_, *clickFocus_);
    }
}

X11EffectWindows::~X11EffectWindows() = default;

std::optional<platform::Rect> X11EffectWindows::frameOf(const QWidget& window) {
    if (!window.testAttribute(Qt::WA_WState_Created)) {
        return std::nullopt;
    }
    return os::ewmh::windowBounds(*qt_, static_cast<xcb_window_t>(window.winId()));
}

void X11EffectWindows::place(QWidget& window, const platform::Rect& frame) {
    os::overlay::place(*qt_, static_cast<xcb_window_t>(window.winId()), frame);
}

void X11EffectWindows::dressAsPanel(QWidget& window) {
    os::overlay::markAsOverlay(*qt_, static_cast<xcb_window_t>(window.winId()));
}

bool X11EffectWindows::fogMustBeManaged() {
    return os::overlay::unmanagedWindowsStayOnTop(*qt_);
}

void X11EffectWindows::dressAsManagedFog(QWidget& window) {
    const auto id = static_cast<xcb_window_t>(window.winId());
    os::overlay::markAsFog(
        *qt_, id,
        clickFocus_ ? os::overlay::ClickFocus::offered : os::overlay::ClickFocus::neverOffered);
    (void)os::overlay::clearInputRegion(*qt_, id);
}

platform::Handle X11EffectWindows::passClickFocus(QWidget& window, std::uint32_t target) {
    if (!clickFocus_ || target == 0) {
        return {};
    }
    return clickFocus_->passOn(static_cast<xcb_window_t>(window.winId()), target);
}

platform::Handle X11EffectWindows::passClickFocus(QWidget& window,
                                                  std::function<void()> giveFocus) {
    if (!clickFocus_) {
        return {};
    }
    return clickFocus_->passOn(static_cast<xcb_window_t>(window.winId()), std::move(giveFocus));
}

void X11EffectWindows::raiseToTop(QWidget& window) {
    os::ewmh::raiseAsPager(*qt_, static_cast<xcb_window_t>(window.winId()));
}

void X11EffectWindows::showManagedFog(QWidget& window, std::uint32_t target) {
    // The window manager reads WM_TRANSIENT_FOR when the window is mapped, and Qt writes it at
    // each show, right before the map, from the transient parent. A window of another
    // application can be one only as a foreign window, on which Qt writes too (the application's
    // icon when it changes): it lives only as long as this show, when nothing else runs.
    const auto id = static_cast<xcb_window_t>(window.winId());
    if (target != 0 && !window.isVisible()) {
        os::overlay::conceal(*qt_, id);
    }
    std::unique_ptr<QWindow> standIn(target == 0 ? nullptr : QWindow::fromWinId(target));
    window.windowHandle()->setTransientParent(standIn.get());
    window.show();
    window.windowHandle()->setTransientParent(nullptr);
    // KWin marks a window that asked not to be activated at its map as demanding attention,
    // which its shortcut would then bring forward over the windows the user put in front.
    os::ewmh::removeState(*qt_, id, "DEMANDS_ATTENTION");
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

platform::Handle X11EffectWindows::keepJustAbove(QWidget& window, std::uint32_t target,
                                                 bool managed) {
    const auto id = static_cast<xcb_window_t>(window.winId());
    return managed ? stacking_->keepManagedJustAbove(id, target)
                   : stacking_->keepJustAbove(id, target);
}

}  // namespace olvane::ui
