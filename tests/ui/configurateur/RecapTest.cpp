// The recap's counts and logos as functions of the drafts, its lines, and the trim of its logos.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QPainter>

#include "platform/BackgroundQueue.h"
#include "platform/sim/ManualRunLoop.h"
#include "support/TempHome.h"
#include "ui/UiTestSupport.h"
#include "ui/configurateur/RecapModuleLine.h"
#include "ui/configurateur/RecordingCollaborators.h"
#include "ui/configurateur/Screen12_Recap.h"
#include "ui/foundation/FakeFaviconFetcher.h"
#include "ui/foundation/FaviconService.h"
#include "ui/foundation/FixtureCatalogue.h"
#include "ui/foundation/GrayIconView.h"
#include "ui/foundation/InstalledAppsService.h"

namespace olvane::ui {
namespace {

using Source = RecapMonoIcon::Source;
using App = RecapMonoIcon::App;
using Site = RecapMonoIcon::Site;

// A picture of `size` with an opaque red rectangle `visible` and `alpha` everywhere else.
QImage picture(QSize size, QRect visible, int alpha = 0) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(QColor(0, 0, 0, alpha));
    QPainter(&image).fillRect(visible, Qt::red);
    return image;
}

struct Drafts {
    bool wish = false;
    std::vector<std::string> apps = {};
    std::vector<std::string> sites = {};
    std::vector<std::pair<FrictionTargetType, std::string>> targets = {};
    // Rules switched on, by platform.
    std::vector<std::pair<Platform, std::string>> rules = {};
};

class RecapTest : public ::testing::Test {
  protected:
    ConfigurateurViewModel& model(const Drafts& drafts) {
        model_ = std::make_unique<ConfigurateurViewModel>(fakes.collaborators());
        model_->wantsGrayscaleEnabled.set(drafts.wish);
        model_->grayscaleAllowedAppsDraft.set(drafts.apps);
        model_->grayscaleAllowedSitesDraft.set(drafts.sites);
        for (const auto& [type, identifier] : drafts.targets) {
            model_->addTarget(type, identifier, identifier);
        }
        for (const auto& [platform, rule] : drafts.rules) {
            model_->setRule(platform, rule, true);
        }
        return *model_;
    }

    test::TempHome home;
    platform::sim::ManualRunLoop loop;
    test::RecordingCollaborators fakes;
    test::FixtureCatalogue catalogue{home.root()};
    platform::BackgroundQueue background;
    InstalledAppsService apps{loop, catalogue, background};
    test::FakeFaviconFetcher fetcher;
    FaviconService favicons{loop, loop.clock(), fetcher, home.root() / "favicons",
                            QUrl("https://favicons.test/s2")};
    std::unique_ptr<ConfigurateurViewModel> model_;
};

TEST_F(RecapTest, MonochromeCountsItsExceptionsOnlyWhileWanted) {
    const struct {
        Drafts drafts;
        QString text;
        std::vector<Source> logos;
    } cases[] = {
        {{.wish = false, .apps = {"a.App"}, .sites = {"news.test"}}, "Désactivé", {}},
        {{.wish = true}, "Activé", {}},
        {{.wish = true, .sites = {"news.test"}}, "Activé · 1 exception", {Site{"news.test"}}},
        {{.wish = true, .apps = {"a.App", "b.App"}, .sites = {"news.test"}},
         "Activé · 3 exceptions",
         {App{"a.App"}, App{"b.App"}, Site{"news.test"}}},
    };
    for (const auto& c : cases) {
        const auto& m = model(c.drafts);
        EXPECT_EQ(Screen12_Recap::monochromeCountText(m), c.text);
        EXPECT_EQ(Screen12_Recap::monochromeLogos(m), c.logos) << c.text.toStdString();
    }
}

TEST_F(RecapTest, ContrepoidsCountsItsTargets) {
    using enum FrictionTargetType;
    const struct {
        Drafts drafts;
        QString text;
        std::vector<Source> logos;
    } cases[] = {
        {{}, "Aucune cible", {}},
        {{.targets = {{website, "video.test"}}}, "1 cible", {Site{"video.test"}}},
        {{.targets = {{app, "a.App"}, {website, "a.test"}, {website, "b.test"}, {app, "b.App"}}},
         "4 cibles",
         {App{"a.App"}, Site{"a.test"}, Site{"b.test"}, App{"b.App"}}},
    };
    for (const auto& c : cases) {
        const auto& m = model(c.drafts);
        EXPECT_EQ(Screen12_Recap::contrepoidsCountText(m), c.text);
        EXPECT_EQ(Screen12_Recap::contrepoidsLogos(m), c.logos) << c.text.toStdString();
    }
}

TEST_F(RecapTest, AssainisseurCountsTheRulesOfEachPlatformsFirstEntry) {
    using enum Platform;
    const struct {
        Drafts drafts;
        QString text;
        std::vector<Source> logos;
    } cases[] = {
        {{}, "Aucune règle active", {}},
        {{.rules = {{linkedin, "linkedin_limit"}}}, "1 règle active", {linkedin}},
        {{.rules = {{facebook, "fb_feed"},
                    {youtube, "yt_shorts"},
                    {youtube, "yt_recommendations"},
                    {instagram, "insta_reels"},
                    {linkedin, "linkedin_news"}}},
         "5 règles actives",
         {youtube, instagram, linkedin, facebook}},
    };
    for (const auto& c : cases) {
        auto& m = model(c.drafts);
        EXPECT_EQ(Screen12_Recap::assainisseurCountText(m), c.text);
        EXPECT_EQ(Screen12_Recap::assainisseurLogos(m), c.logos) << c.text.toStdString();
    }

    // The platform's own switch off still counts; a second entry of a platform does not.
    auto& m = model({.rules = {{linkedin, "linkedin_limit"}}});
    auto drafts = m.contentFilterRulesDraft();
    for (auto& entry : drafts) {
        entry.isEnabled = false;
    }
    auto second = drafts.front();
    for (auto& rule : second.rules) {
        rule.isEnabled = true;
    }
    drafts.push_back(second);
    m.contentFilterRulesDraft.set(drafts);
    EXPECT_EQ(Screen12_Recap::activeRuleCount(m), 1);
    EXPECT_EQ(Screen12_Recap::assainisseurLogos(m), (std::vector<Source>{linkedin}));
}

TEST_F(RecapTest, ALineShowsItsFirstLogosAndCountsTheRest) {
    const struct {
        std::size_t logos;
        int max;
        int shown;
        QString rest;
    } cases[] = {{5, 3, 3, "+2"}, {3, 3, 3, ""}, {0, 3, 0, ""}, {2, -1, 0, "+2"}};
    for (const auto& c : cases) {
        std::vector<Source> logos(c.logos, App{"org.example.none"});
        RecapModuleLine line("scalemass.fill", "Contrepoids", "", logos, c.max, {favicons, apps});
        EXPECT_EQ(static_cast<int>(line.visibleLogos().size()), c.shown);
        EXPECT_EQ(line.overflowText(), c.rest);
        EXPECT_EQ(line.logoRow()->isVisibleTo(&line), c.logos > 0);
        EXPECT_EQ(line.name(), "Contrepoids");
    }
}

TEST_F(RecapTest, TheTrimCutsAwayWhatCannotBeSeen) {
    const struct {
        const char* name;
        QImage image;
        QSize trimmed;  // invalid: the image comes back as it was
    } cases[] = {
        {"transparent", picture({64, 64}, {}), {}},
        {"alpha 76 at most", picture({64, 64}, {}, RecapMonoIcon::kVisibleAlpha), {}},
        {"wide border", picture({64, 64}, {16, 16, 32, 32}), {64, 64}},
        {"wide", picture({60, 30}, {0, 0, 60, 30}), {128, 64}},
        {"odd size", picture({33, 33}, {11, 11, 11, 11}), {43, 43}},
    };
    for (const auto& c : cases) {
        const QImage result = RecapMonoIcon::trimmed(c.image);
        if (!c.trimmed.isValid()) {
            EXPECT_EQ(result, c.image) << c.name;
            continue;
        }
        EXPECT_NEAR(result.width(), c.trimmed.width(), 1) << c.name;
        EXPECT_NEAR(result.height(), c.trimmed.height(), 1) << c.name;
        EXPECT_EQ(result.pixelColor(result.width() / 2, result.height() / 2), QColor(Qt::red));
    }
}

TEST_F(RecapTest, TenTargetsShowEightLogosAndTheRestAsACount) {
    Drafts drafts;
    for (int i = 0; i < 10; ++i) {
        drafts.targets.emplace_back(FrictionTargetType::website,
                                    "site" + std::to_string(i) + ".test");
    }
    Screen12_Recap recap(model(drafts), {favicons, apps});
    recap.resize(700, 500);
    recap.show();
    const auto& line = *recap.contrepoidsLine();
    EXPECT_EQ(line.countText(), "10 cibles");
    EXPECT_EQ(line.visibleLogos().size(), 8u);
    EXPECT_EQ(line.overflowText(), "+2");
    EXPECT_FALSE(recap.monochromeLine()->logoRow()->isVisible());
    EXPECT_TRUE(test::saveArtefact(recap, "recap-ten-targets"));
}

TEST_F(RecapTest, ALinkedInLogoIsItsSymbolUntilItsFaviconArrivesTrimmedAndGrey) {
    RecapMonoIcon logo(Platform::linkedin, RecapModuleLine::kLogoSize, {favicons, apps});
    logo.show();
    EXPECT_EQ(logo.view()->placeholder(), "briefcase.fill");
    EXPECT_FALSE(logo.view()->hasImage());
    ASSERT_EQ(fetcher.requests.size(), 1u);
    EXPECT_TRUE(fetcher.domainOf(0).contains("linkedin.com"));

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture({128, 128}, {32, 32, 64, 64}).save(&buffer, "PNG");
    fetcher.answer(0, {std::nullopt, 200, png, "image/png"});
    ASSERT_TRUE(logo.image());
    EXPECT_NEAR(logo.image()->width(), 64, 1);
    ASSERT_TRUE(logo.view()->hasImage());
    const QColor centre = logo.view()->image().pixelColor(32, 32);
    EXPECT_TRUE(centre.red() == centre.green() && centre.green() == centre.blue());
    EXPECT_NE(centre, QColor(Qt::red));
}

}  // namespace
}  // namespace olvane::ui
