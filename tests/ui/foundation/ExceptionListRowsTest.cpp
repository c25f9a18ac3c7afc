#include <gtest/gtest.h>

#include "model/RawValueEnum.h"
#include "ui/UiTestSupport.h"
#include "ui/foundation/AddExceptionRow.h"
#include "ui/foundation/Animations.h"
#include "ui/foundation/ExceptionTab.h"
#include "ui/foundation/HoverButton.h"

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

}  // namespace
}  // namespace olvane::ui
