// Rounded windows on an X server without a compositor: their corners are cut out of the
// window's shape, where they would otherwise show square.
#include <gtest/gtest.h>
#include <xcb/shape.h>

#include <QLabel>
#include <QWidget>
#include <QWindow>

#include "platform/linux/X11Connection.h"
#include "ui/UiTestSupport.h"
#include "ui/foundation/PopoverPresenter.h"
#include "ui/shell/ExtensionWarningPanelController.h"
#include "ui/shell/ExtensionWarningView.h"

namespace olvane::ui {
namespace {

namespace os = platform::os;

// Whether `point` (window coordinates) lies in the bounding shape of `window`.
bool inShape(QWidget& window, QPoint point) {
    const auto x = os::X11Connection::open();
    const auto id = static_cast<xcb_window_t>(window.windowHandle()->winId());
    const os::XcbPtr<xcb_shape_get_rectangles_reply_t> shape(xcb_shape_get_rectangles_reply(
        x->get(), xcb_shape_get_rectangles(x->get(), id, XCB_SHAPE_SK_BOUNDING), nullptr));
    if (!shape) {
        return false;
    }
    const auto* rectangles = xcb_shape_get_rectangles_rectangles(shape.get());
    for (int i = 0; i < xcb_shape_get_rectangles_rectangles_length(shape.get()); ++i) {
        const auto& r = rectangles[i];
        if (QRect(r.x, r.y, r.width, r.height).contains(point)) {
            return true;
        }
    }
    return false;
}

void expectRoundedCard(QWidget& window, const QRect& card) {
    ASSERT_TRUE(test::processEventsUntil([&] { return window.windowHandle()->isExposed(); }));
    EXPECT_TRUE(inShape(window, card.center()));
    for (const QPoint corner :
         {card.topLeft(), card.topRight(), card.bottomLeft(), card.bottomRight()}) {
        EXPECT_FALSE(inShape(window, corner)) << corner.x() << "," << corner.y();
    }
    // The edges' middles stay.
    EXPECT_TRUE(inShape(window, QPoint(card.center().x(), card.top())));
    EXPECT_TRUE(inShape(window, QPoint(card.left(), card.center().y())));
}

TEST(RoundedShapes, PopoversAndTheExtensionWarningLoseTheirSquareCorners) {
    QWidget host;
    host.setGeometry(100, 100, 300, 200);
    auto* anchor = new QWidget(&host);
    anchor->setGeometry(20, 20, 18, 18);
    host.show();
    ASSERT_TRUE(test::processEventsUntil([&] { return host.windowHandle()->isExposed(); }));
    platform::Observable<bool> shown{true};
    PopoverPresenter tooltip(anchor, shown, PopoverPresenter::Kind::hover,
                             [] { return new QLabel(QStringLiteral("Une explication")); });
    ASSERT_NE(tooltip.popover(), nullptr);
    expectRoundedCard(*tooltip.popover(), tooltip.popover()->rect());

    ExtensionWarningPanelController warning([] { return std::nullopt; }, nullptr, {});
    warning.show(BrowserType::firefox);
    ASSERT_NE(warning.panel(), nullptr);
    const auto* content = warning.content();
    expectRoundedCard(*warning.panel(), content->cardRect().translated(content->pos()));
}

}  // namespace
}  // namespace olvane::ui
