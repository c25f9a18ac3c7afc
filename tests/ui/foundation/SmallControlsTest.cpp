#include <gtest/gtest.h>

#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/UiTestSupport.h"
#include "ui/foundation/HoverableIconButton.h"
#include "ui/foundation/InfoTooltip.h"
#include "ui/foundation/PopoverPresenter.h"

namespace olvane::ui {
namespace {

TEST(HoverableIconButton, DisabledItIsDimmedIgnoresClicksAndStillGrows) {
    QWidget container;
    int clicks = 0;
    auto* enabled = new HoverableIconButton(
        "xmark", [&] { ++clicks; }, {}, &container);
    auto* disabled = new HoverableIconButton(
        "xmark", [&] { ++clicks; },
        {.disabled = true, .accessibilityText = QStringLiteral("Fermer")}, &container);
    container.show();
    EXPECT_EQ(enabled->accessibleName(), "xmark");
    EXPECT_EQ(disabled->accessibleName(), "Fermer");

    test::clickAt(disabled, QPoint(12, 12));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(disabled->opacity(), 0.5);
    test::hover(disabled, true);
    EXPECT_GT(disabled->hoverScale().targetScale(), 1.0);

    test::clickAt(enabled, QPoint(12, 12));
    EXPECT_EQ(clicks, 1);
    // A disabled container blocks the button without dimming it.
    container.setEnabled(false);
    test::clickAt(enabled, QPoint(12, 12));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(enabled->opacity(), 1.0);
    EXPECT_EQ(enabled->size(), QSize(24, 24));
}

TEST(PopoverPresenter, AClickPopoverClosedOutsideOpensAgainOnTheNextClick) {
    QWidget window;
    auto* button = new QPushButton(QStringLiteral("Options"), &window);
    platform::Observable<bool> shown{false};
    PopoverPresenter presenter(button, shown, PopoverPresenter::Kind::click,
                               [] { return new QPushButton(QStringLiteral("Léger")); });
    QObject::connect(button, &QPushButton::clicked, [&] { shown.set(!shown.get()); });
    window.show();

    button->click();
    QPointer<QWidget> popover = presenter.popover();
    ASSERT_NE(popover, nullptr);
    EXPECT_TRUE(popover->isVisible());
    EXPECT_EQ(popover->windowType(), Qt::Popup);
    EXPECT_TRUE(popover->geometry().top() > button->mapToGlobal(QPoint(0, button->height())).y());

    test::clickAt(popover, QPoint(-50, -50));  // outside the popover
    EXPECT_FALSE(shown.get());
    EXPECT_EQ(presenter.popover(), nullptr);
    EXPECT_TRUE(test::processEventsUntil([&] { return popover.isNull(); }));

    button->click();
    ASSERT_NE(presenter.popover(), nullptr);
    EXPECT_TRUE(presenter.popover()->isVisible());
}

TEST(InfoTooltip, ShowsItsTextWhileThePointerRestsOnIt) {
    QWidget window;
    auto* column = new QVBoxLayout(&window);
    auto* shortTip = new InfoTooltip(QStringLiteral("Court."), 14);
    auto* longTip = new InfoTooltip(
        QString(QStringLiteral("Une explication bien plus longue. ")).repeated(8), 14);
    column->addWidget(shortTip);
    column->addWidget(longTip);
    window.show();
    EXPECT_EQ(shortTip->popover(), nullptr);

    test::hover(shortTip, true);
    ASSERT_NE(shortTip->popover(), nullptr);
    const QWidget* popover = shortTip->popover();
    EXPECT_TRUE(popover->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    EXPECT_TRUE(popover->windowFlags().testFlag(Qt::WindowTransparentForInput));
    EXPECT_EQ(popover->windowType(), Qt::ToolTip);  // no grab of the pointer
    const int shortHeight = popover->height();
    test::hover(shortTip, false);
    EXPECT_EQ(shortTip->popover(), nullptr);

    test::hover(longTip, true);
    ASSERT_NE(longTip->popover(), nullptr);
    EXPECT_EQ(longTip->popover()->width(), InfoTooltip::kTextWidth + 2 * 12);
    EXPECT_GT(longTip->popover()->height(), 2 * shortHeight);
    // The popover goes with its page.
    window.hide();
    EXPECT_EQ(longTip->popover(), nullptr);
    EXPECT_FALSE(longTip->isHovered());
}

}  // namespace
}  // namespace olvane::ui
