#include <gtest/gtest.h>

#include <QAbstractButton>

#include "ui/UiTestSupport.h"
#include "ui/foundation/Animations.h"
#include "ui/pages/guide/GuideSectionCard.h"
#include "ui/pages/guide/GuideView.h"

namespace olvane::ui {
namespace {

class GuideTest : public ::testing::Test {
  protected:
    GuideTest() {
        Animations::setJumpToEnd(true);
        test::paintWhite(view);
        view.resize(880, 600);
        view.show();
    }
    ~GuideTest() override { Animations::setJumpToEnd(false); }

    void click(GuideSection section) { view.card(section)->header()->click(); }

    void expectOpen(GuideSection section, bool open) {
        const GuideSectionCard* card = view.card(section);
        const std::string name(rawValue(section));
        EXPECT_EQ(card->isExpanded(), open) << name;
        EXPECT_EQ(card->body()->isVisible(), open) << name;
        EXPECT_STREQ(card->chevron(), open ? "chevron.up" : "chevron.down") << name;
        EXPECT_EQ(card->headerBottomRadius(), open ? 0 : 8) << name;
        EXPECT_EQ(card->borderWidth(), open ? 1.5 : 1) << name;
    }

    // A picture as tall as the page asks, so that nothing of it is cut.
    void savePicture(const char* name) {
        view.resize(880, view.heightForWidth(880));
        EXPECT_TRUE(test::saveArtefact(view, QString::fromLatin1(name)));
    }

    GuideView view;
};

TEST_F(GuideTest, CardsOpenAndCloseIndependently) {
    for (const GuideSection section : allCases<GuideSection>()) {
        expectOpen(section, false);
    }
    savePicture("guide-collapsed");

    click(GuideSection::idea);
    click(GuideSection::goFurther);
    EXPECT_EQ(view.expandedSections(),
              (std::set<GuideSection>{GuideSection::idea, GuideSection::goFurther}));
    expectOpen(GuideSection::idea, true);
    expectOpen(GuideSection::features, false);
    expectOpen(GuideSection::goFurther, true);
    savePicture("guide-two-open");

    click(GuideSection::idea);
    expectOpen(GuideSection::idea, false);
    expectOpen(GuideSection::goFurther, true);
}

}  // namespace
}  // namespace olvane::ui
