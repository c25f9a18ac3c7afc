#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>

#include "ui/UiTestSupport.h"
#include "ui/foundation/SheetPresenter.h"

namespace olvane::ui {
namespace {

using test::processEventsUntil;

std::unique_ptr<QWidget> fixedSheet() {
    auto sheet = std::make_unique<QWidget>();
    sheet->setFixedSize(300, 200);
    return sheet;
}

TEST(SheetPresenter, EveryWayOfClosingClearsTheFlag) {
    QWidget window;
    window.setGeometry(100, 100, 1000, 700);
    window.show();
    platform::Observable<bool> isPresented{false};
    int built = 0;
    SheetPresenter presenter(window, isPresented, [&] {
        ++built;
        return fixedSheet();
    });
    EXPECT_FALSE(presenter.dialog());

    const std::vector<std::pair<const char*, std::function<void(QDialog&)>>> closings{
        {"the sheet's own close", [&](QDialog&) { isPresented.set(false); }},
        {"Escape",
         [](QDialog& d) {
             QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
             QCoreApplication::sendEvent(&d, &escape);
         }},
        {"the window manager", [](QDialog& d) { d.close(); }},
    };
    for (const auto& [how, closeIt] : closings) {
        isPresented.set(true);
        QPointer<QDialog> dialog = presenter.dialog();
        ASSERT_TRUE(dialog) << how;
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
        EXPECT_TRUE(dialog->windowFlags() & Qt::FramelessWindowHint);
        EXPECT_EQ(dialog->parentWidget(), &window);
        EXPECT_EQ(presenter.sheet()->size(), QSize(300, 200));
        EXPECT_EQ(QRectF(dialog->geometry()).center(), QRectF(window.geometry()).center()) << how;

        closeIt(*dialog);
        EXPECT_FALSE(isPresented.get()) << how;
        EXPECT_FALSE(presenter.dialog()) << how;
        EXPECT_TRUE(processEventsUntil([&] { return dialog.isNull(); })) << how;
    }
    EXPECT_EQ(built, 3);
}

TEST(SheetPresenter, NothingToShowLeavesTheFlagClear) {
    QWidget window;
    platform::Observable<bool> isPresented{false};
    SheetPresenter presenter(window, isPresented, [] { return std::unique_ptr<QWidget>(); });
    isPresented.set(true);
    EXPECT_FALSE(isPresented.get());
    EXPECT_FALSE(presenter.dialog());
}

}  // namespace
}  // namespace olvane::ui
