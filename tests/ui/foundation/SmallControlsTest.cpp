#include <gtest/gtest.h>

#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/UiTestSupport.h"
#include "ui/foundation/Animations.h"
#include "ui/foundation/CustomIntensityPopup.h"
#include "ui/foundation/HoverScaleEffect.h"
#include "ui/foundation/HoverScaleSwitch.h"
#include "ui/foundation/HoverableIconButton.h"
#include "ui/foundation/InfoTooltip.h"
#include "ui/foundation/OlvaneSegmentedPicker.h"
#include "ui/foundation/PopoverPresenter.h"

namespace olvane::ui {
namespace {

TEST(HoverableIconButton, DisabledItIsDimmedIgnoresClicksAndStillGrows) {
    QWidget container;
    int clicks = 0;
    auto* enabled = new HoverableIconButton("xmark", [&] { ++clicks; });
    auto* disabled = new HoverableIconButton(
        "xmark", [&] { ++clicks; }, Theme::black(), 14, true, QStringLiteral("Fermer"));
    enabled->setParent(&container);
    disabled->setParent(&container);
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

TEST(CustomIntensityPopup, EachButtonCallsOnlyItsOwnActionOnAFixedWidthPanel) {
    std::vector<std::string> calls;
    CustomIntensityPopup narrow(
        QStringLiteral("Buée personnalisée"), new QWidget(), [&] { calls.push_back("apply"); },
        [&] { calls.push_back("cancel"); });
    auto* wide = new QPushButton(QString(200, QChar(u'x')));
    CustomIntensityPopup large(QStringLiteral("Tortue personnalisée"), wide, {}, {});
    for (auto* popup : {&narrow, &large}) {
        popup->show();
        EXPECT_EQ(popup->panelRect().width(), CustomIntensityPopup::kWidth);
    }
    EXPECT_GT(large.panelRect().height(), narrow.panelRect().height() - 1);
    test::clickAt(narrow.cancelButton(), QPoint(5, 5));
    EXPECT_EQ(calls, std::vector<std::string>{"cancel"});
    test::clickAt(narrow.applyButton(), QPoint(5, 5));
    EXPECT_EQ(calls, (std::vector<std::string>{"cancel", "apply"}));
    EXPECT_TRUE(narrow.isVisible());  // the caller closes it, not the frame
    EXPECT_EQ(narrow.cancelButton()->width(), narrow.applyButton()->width());
}

TEST(HoverScaleSwitch, OffTheWidgetIgnoresThePointerAndEachSwitchStartsAfresh) {
    QWidget card;
    card.resize(300, 80);
    card.show();
    hoverScaleEffect(&card, false);
    EXPECT_EQ(card.findChild<HoverScaleEffect*>(), nullptr);
    hoverScaleEffect(&card, true);
    auto* hover = card.findChild<HoverScaleEffect*>();
    ASSERT_NE(hover, nullptr);
    test::hover(&card, true);
    EXPECT_GT(hover->targetScale(), 1.0);
    hoverScaleEffect(&card, false);
    EXPECT_FALSE(hover->isHovered());
    test::hover(&card, true);
    EXPECT_EQ(hover->targetScale(), 1.0);
}

enum class Strength { light, strong, extreme };

TEST(OlvaneSegmentedPicker, ATapWritesTheOptionAndAnUnknownValueSelectsNothing) {
    std::vector<Strength> written;
    OlvaneSegmentedPicker<Strength> picker(
        {Strength::light, Strength::strong},
        [](Strength s) {
            return s == Strength::light ? QStringLiteral("Léger") : QStringLiteral("Fort");
        },
        Strength::extreme, [&](Strength s) { written.push_back(s); });
    picker.resize(300, 40);
    picker.show();
    Animations::setJumpToEnd(true);
    const auto fillOf = [&](int segment) {
        const QPoint inside = picker.segment(segment)->geometry().topLeft() + QPoint(6, 20);
        return picker.grab().toImage().pixelColor(inside);
    };
    EXPECT_EQ(picker.selectedIndex(), -1);
    EXPECT_EQ(fillOf(0), Qt::white);
    EXPECT_EQ(fillOf(1), Qt::white);
    test::clickAt(picker.segment(1), QPoint(5, 5));
    EXPECT_EQ(written, std::vector<Strength>{Strength::strong});
    EXPECT_EQ(picker.selectedIndex(), 1);
    EXPECT_EQ(fillOf(1), Qt::black);
    Animations::setJumpToEnd(false);
    picker.setSelected(Strength::light);
    EXPECT_EQ(picker.selectedIndex(), 0);
}

}  // namespace
}  // namespace olvane::ui
