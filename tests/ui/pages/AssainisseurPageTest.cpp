#include <gtest/gtest.h>

#include <QAbstractButton>

#include "model/RulesFileService.h"
#include "model/SettingsManager.h"
#include "platform/FileIO.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryKeyValueStore.h"
#include "support/TempHome.h"
#include "ui/UiTestSupport.h"
#include "ui/foundation/Animations.h"
#include "ui/foundation/CheckboxBox.h"
#include "ui/foundation/FaviconService.h"
#include "ui/foundation/OlvaneCheckbox.h"
#include "ui/foundation/Theme.h"
#include "ui/pages/FixtureFaviconFetcher.h"
#include "ui/pages/RecordingFeatureUsage.h"
#include "ui/pages/assainisseur/ContentFilterView.h"
#include "ui/pages/assainisseur/ContentFilterViewModel.h"
#include "ui/pages/assainisseur/PlatformCard.h"
#include "ui/pages/assainisseur/RuleRow.h"

namespace olvane::ui {
namespace {

class AssainisseurPageTest : public ::testing::Test {
  protected:
    void SetUp() override { Animations::setJumpToEnd(true); }
    void TearDown() override { Animations::setJumpToEnd(false); }

    std::unique_ptr<ContentFilterView> makePage() {
        auto model = std::make_unique<ContentFilterViewModel>(ContentFilterViewModel::Collaborators{
            settings, rulesFile, usage, [this](const std::vector<std::string>& domains) {
                favicons.prefetchFavicons(domains);
            }});
        auto page = std::make_unique<ContentFilterView>(std::move(model), favicons);
        page->resize(880, 700);
        page->show();
        return page;
    }
    static void open(PlatformCard* card) { test::clickAt(card->header(), {10, 10}); }
    static void tick(PlatformCard* card, const std::string& ruleId) {
        CheckboxBox* box = card->ruleRow(ruleId)->checkbox()->box();
        test::clickAt(box, box->rect().center());
    }
    Json rulesJson() const { return *json::parse(*platform::readWholeFile(rulesFile.rulesFile())); }

    test::TempHome home;
    platform::sim::ManualRunLoop loop;
    platform::sim::MemoryKeyValueStore store;
    SettingsManager settings{store, loop.clock()};
    RulesFileService rulesFile{home.paths()};
    test::RecordingFeatureUsage usage;
    test::FixtureFaviconFetcher fetcher{loop};
    FaviconService favicons{loop, loop.clock(), fetcher, home.root() / "favicons",
                            QUrl(QStringLiteral("https://icons.test/"))};
};

TEST_F(AssainisseurPageTest, ACheckboxClickChangesTheModelAndTheCardAtOnce) {
    const auto page = makePage();
    PlatformCard* youtube = page->card(Platform::youtube);
    EXPECT_FALSE(youtube->ruleList()->isVisible());
    EXPECT_EQ(youtube->borderWidth(), 1.0);
    EXPECT_EQ(youtube->borderColor(), Theme::black());

    open(youtube);
    EXPECT_TRUE(youtube->ruleList()->isVisible());
    EXPECT_EQ(youtube->ruleRows().size(), 5u);
    EXPECT_EQ(youtube->headerCornerRadius(), 0);
    EXPECT_EQ(youtube->borderColor(), Theme::withOpacity(Theme::black(), 0.1));
    EXPECT_EQ(youtube->separatorOpacity(), 1);

    tick(youtube, "yt_shorts");
    EXPECT_TRUE(page->viewModel().isRuleEnabled("yt_shorts", Platform::youtube));
    EXPECT_TRUE(youtube->isActive());
    EXPECT_EQ(youtube->badgeText(), "1/5");
    EXPECT_EQ(youtube->headerFill(), Theme::black());
    EXPECT_EQ(youtube->foreground(), Theme::white());
    EXPECT_EQ(youtube->borderWidth(), 1.5);
    EXPECT_EQ(youtube->borderColor(), Theme::black());
    EXPECT_EQ(youtube->separatorOpacity(), 0);
    EXPECT_EQ(rulesJson().at("youtube"), (Json{{"yt_shorts", true}}));

    tick(youtube, "yt_shorts");
    EXPECT_FALSE(youtube->isActive());
    EXPECT_EQ(youtube->badgeText(), "");
    EXPECT_FALSE(rulesJson().contains("youtube"));
}

TEST_F(AssainisseurPageTest, TheLinkedInExclusionShowsOnScreen) {
    const auto page = makePage();
    PlatformCard* linkedin = page->card(Platform::linkedin);
    open(linkedin);
    std::vector<std::string> shown;
    for (const auto* row : linkedin->ruleRows()) {
        shown.push_back(row->ruleId());
    }
    EXPECT_EQ(shown,
              (std::vector<std::string>{"linkedin_limit", "linkedin_feed", "linkedin_news"}));

    tick(linkedin, "linkedin_feed");
    tick(linkedin, "linkedin_limit");
    EXPECT_TRUE(linkedin->ruleRow("linkedin_limit")->isChecked());
    EXPECT_FALSE(linkedin->ruleRow("linkedin_feed")->isChecked());
    EXPECT_EQ(linkedin->badgeText(), "1/3");
}

TEST_F(AssainisseurPageTest, CardsOpenAndCloseIndependently) {
    const auto page = makePage();
    PlatformCard* youtube = page->card(Platform::youtube);
    PlatformCard* linkedin = page->card(Platform::linkedin);
    open(youtube);
    open(linkedin);
    EXPECT_EQ(page->expandedPlatforms(),
              (std::set<Platform>{Platform::youtube, Platform::linkedin}));
    EXPECT_TRUE(youtube->ruleList()->isVisible());
    EXPECT_TRUE(linkedin->ruleList()->isVisible());

    open(youtube);
    EXPECT_FALSE(youtube->isExpanded());
    EXPECT_FALSE(youtube->ruleList()->isVisible());
    EXPECT_TRUE(linkedin->ruleList()->isVisible());
}

TEST_F(AssainisseurPageTest, ArrivingFaviconsReplaceTheSymbolsInGrey) {
    fetcher.colours["youtube.com"] = QColor(220, 30, 30);
    const auto page = makePage();
    PlatformCard* youtube = page->card(Platform::youtube);
    EXPECT_TRUE(youtube->logo().isNull());

    loop.runPending();
    loop.advanceSeconds(FaviconService::kUpdateThrottleSeconds);
    ASSERT_FALSE(youtube->logo().isNull());
    const QColor centre = youtube->logo().pixelColor(youtube->logo().rect().center());
    EXPECT_EQ(centre.red(), centre.green());
    EXPECT_EQ(centre.green(), centre.blue());
    EXPECT_TRUE(page->card(Platform::facebook)->logo().isNull());
}

TEST_F(AssainisseurPageTest, Pictures) {
    const auto page = makePage();
    page->resize(880, page->sizeHint().height());
    ASSERT_TRUE(test::saveArtefact(*page, QStringLiteral("assainisseur-collapsed")));

    open(page->card(Platform::youtube));
    PlatformCard* linkedin = page->card(Platform::linkedin);
    open(linkedin);
    tick(linkedin, "linkedin_limit");
    tick(linkedin, "linkedin_news");
    page->resize(880, page->sizeHint().height());
    ASSERT_TRUE(
        test::saveArtefact(*page, QStringLiteral("assainisseur-youtube-and-linkedin-open")));
}

}  // namespace
}  // namespace olvane::ui
