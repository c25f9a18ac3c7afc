#include "ui/foundation/WindowCompositing.h"

#include <xcb/xcb.h>

#include <QGuiApplication>
#include <QPolygon>
#include <QRegion>
#include <QWidget>
#include <cstdlib>
#include <string>

#include "ui/foundation/RoundedShape.h"

namespace olvane::ui {
namespace {

bool selectionIsOwned(xcb_connection_t* connection, const std::string& name) {
    const auto cookie =
        xcb_intern_atom(connection, 1, static_cast<std::uint16_t>(name.size()), name.c_str());
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (!atom) {
        return false;
    }
    bool owned = false;
    if (atom->atom != XCB_ATOM_NONE) {
        xcb_get_selection_owner_reply_t* owner = xcb_get_selection_owner_reply(
            connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
        owned = owner && owner->owner != XCB_WINDOW_NONE;
        std::free(owner);
    }
    std::free(atom);
    return owned;
}

}  // namespace

bool translucentWindowsAreComposited() {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) {
        return true;
    }
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection) {
        return false;
    }
    // A compositing manager owns the selection of each screen it composites.
    const int screens = xcb_setup_roots_length(xcb_get_setup(connection));
    for (int screen = 0; screen < screens; ++screen) {
        if (selectionIsOwned(connection, "_NET_WM_CM_S" + std::to_string(screen))) {
            return true;
        }
    }
    return false;
}

void cutShapeToRoundedCard(QWidget& window, const QRectF& card, qreal radius) {
    if (translucentWindowsAreComposited()) {
        window.clearMask();
        return;
    }
    window.setMask(QRegion(RoundedShape::continuous(card, radius).toFillPolygon().toPolygon()));
}

}  // namespace olvane::ui
