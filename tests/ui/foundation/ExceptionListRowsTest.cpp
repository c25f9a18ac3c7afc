#include <gtest/gtest.h>

#include <QPainter>
#include <QVBoxLayout>

#include "model/RawValueEnum.h"
#include "ui/UiTestSupport.h"
#include "ui/foundation/AddExceptionRow.h"
#include "ui/foundation/Animations.h"
#include "ui/foundation/AppPickerRow.h"
#include "ui/foundation/ExceptionTab.h"
#include "ui/foundation/ExceptionTabBar.h"
#include "ui/foundation/HoverButton.h"
#include "ui/foundation/IconImage.h"
#include "ui/foundation/SectionCardFlush.h"

namespace olvane::ui {
namespace {

TEST(ExceptionTab, MatchesItsTitlesExactly) {
    EXPECT_EQ(fromRawValue<ExceptionTab>("Applications"), ExceptionTab::apps);
    EXPECT_EQ(fromRawValue<ExceptionTab>("Sites web"), ExceptionTab::websites);
    for (const char* other : {"applications", "Sites Web", "SITES WEB", "Sites web ", ""}) {
        EXPECT_FALSE(fromRawValue<ExceptionTab>(other)) << other;
    }
}

TEST(AddExceptionRow, TheWholeRowOpensThePickerAndAHiddenSeparatorKeepsItsPlace) {
    Animations::setJumpToEnd(true);
    int opened = 0;
    AddExceptionRow bare(
        QStringLiteral("Ajouter une application"), [&] { ++opened; }, false);
    AddExceptionRow separated(
        QStringLiteral("Ajouter un site"), [&] { ++opened; }, true);
    AddExceptionRow hidden(
        QStringLiteral("Ajouter un site"), [&] { ++opened; }, true, true);
    for (auto* row : {&bare, &separated, &hidden}) {
        row->resize(400, row->sizeHint().height());
        row->show();
    }
    EXPECT_FALSE(bare.hasSeparator());
    EXPECT_EQ(separated.sizeHint().height(), bare.sizeHint().height() + 3);
    EXPECT_EQ(hidden.sizeHint().height(), separated.sizeHint().height());
    EXPECT_EQ(hidden.separatorOpacity(), 0.0);
    EXPECT_EQ(separated.separatorOpacity(), 1.0);

    test::clickAt(bare.button(), QPoint(380, bare.button()->height() / 2));
    bare.addGroup()->click();
    EXPECT_EQ(opened, 2);
    EXPECT_TRUE(bare.addGroup()->hoverScale().isActive());

    separated.setSeparatorHidden(true);
    EXPECT_EQ(separated.separatorOpacity(), 0.0);
    separated.setSeparatorHidden(false);
    EXPECT_EQ(separated.separatorOpacity(), 1.0);
    Animations::setJumpToEnd(false);
}

TEST(ExceptionTabBar, CountsEachListAndSwapsItsHalvesOnAClick) {
    Animations::setJumpToEnd(true);
    platform::Observable<ExceptionTab> selected{ExceptionTab::apps};
    ExceptionTabBar bar(selected, 0, 12);
    bar.resize(500, bar.sizeHint().height());
    bar.show();
    EXPECT_EQ(bar.title(ExceptionTab::apps), "Applications (0)");
    EXPECT_EQ(bar.title(ExceptionTab::websites), "Sites web (12)");

    const auto colourAt = [&](ExceptionTab tab) {
        const QImage picture = bar.grab().toImage();
        const QRect half = bar.tab(tab)->geometry();
        return picture.pixelColor(half.left() + 12, half.center().y());
    };
    EXPECT_EQ(colourAt(ExceptionTab::apps), QColor(Qt::black));
    EXPECT_EQ(colourAt(ExceptionTab::websites), QColor(Qt::white));
    EXPECT_FALSE(bar.tab(ExceptionTab::apps)->hoverScale().isActive());
    EXPECT_TRUE(bar.tab(ExceptionTab::websites)->hoverScale().isActive());

    bar.tab(ExceptionTab::websites)->click();
    EXPECT_EQ(selected.get(), ExceptionTab::websites);
    EXPECT_TRUE(bar.isSelected(ExceptionTab::websites));
    EXPECT_EQ(colourAt(ExceptionTab::apps), QColor(Qt::white));
    EXPECT_EQ(colourAt(ExceptionTab::websites), QColor(Qt::black));
    EXPECT_TRUE(bar.tab(ExceptionTab::apps)->hoverScale().isActive());
    EXPECT_LT(bar.tab(ExceptionTab::apps)->geometry().right(),
              bar.tab(ExceptionTab::websites)->geometry().left());

    // A change made elsewhere shows too.
    selected.set(ExceptionTab::apps);
    EXPECT_TRUE(bar.isSelected(ExceptionTab::apps));
    Animations::setJumpToEnd(false);
}

// An application row, as the lists will show them.
class SampleRow final : public QWidget {
  public:
    SampleRow(std::string name, QColor colour) {
        QImage icon(64, 64, QImage::Format_ARGB32);
        icon.fill(colour);
        app_ = {"org.example." + name, std::move(name), IconImage::fitted(icon, 32)};
        setFixedHeight(AppPickerRow::kHeight);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        AppPickerRow(app_, false)
            .paint(painter, QRectF(rect()), IconImage::desaturated(app_.icon), 1.0);
    }

  private:
    InstalledApp app_;
};

TEST(ExceptionTabBar, PictureOverTheRowsOfAList) {
    platform::Observable<ExceptionTab> selected{ExceptionTab::apps};
    QWidget column;
    column.setAutoFillBackground(true);
    column.setPalette(QPalette(Qt::white));
    auto* layout = new QVBoxLayout(&column);
    layout->setContentsMargins(48, 32, 48, 32);
    layout->setSpacing(16);
    layout->addWidget(new ExceptionTabBar(selected, 2, 12));
    auto* rows = new QWidget;
    auto* list = new QVBoxLayout(rows);
    list->setContentsMargins(0, 0, 0, 0);
    list->setSpacing(0);
    list->addWidget(new SampleRow("Firefox", QColor(230, 110, 20)));
    list->addWidget(new SampleRow("Terminal", QColor(40, 40, 40)));
    list->addWidget(new AddExceptionRow(QStringLiteral("Ajouter une application"), {}, true));
    layout->addWidget(new SectionCardFlush(rows));
    column.resize(600, column.sizeHint().height());
    EXPECT_TRUE(test::saveArtefact(column, "exception-tab-bar-over-rows"));
}

}  // namespace
}  // namespace olvane::ui
