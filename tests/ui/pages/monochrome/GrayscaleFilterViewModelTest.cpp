#include <gtest/gtest.h>

#include "model/SettingsManager.h"
#include "platform/FileIO.h"
#include "platform/Json.h"
#include "platform/sim/CaptureLogSink.h"
#include "ui/pages/monochrome/MonochromeFixture.h"

namespace olvane::ui {
namespace {

using platform::sim::ScopedLogCapture;

class GrayscaleFilterViewModelTest : public test::MonochromeFixture {
  protected:
    std::optional<Json> rules() const {
        const auto text = platform::readWholeFile(program.services.rulesFile().rulesFile());
        return text ? json::parse(*text) : std::nullopt;
    }
    std::vector<std::string> rowIds(const GrayscaleFilterViewModel& model) const {
        std::vector<std::string> ids;
        for (const auto& row : model.allowedSitesRowData()) {
            ids.push_back(row.id);
        }
        return ids;
    }
};

TEST_F(GrayscaleFilterViewModelTest, TheSwitchMovesFirstThenGreysAndRestoresTheDisplay) {
    auto model = makeModel();
    // Opening the page does not make the filter.
    EXPECT_FALSE(program.services.hasGrayscale());

    std::vector<bool> filterWhenTheSwitchMoved;
    const auto watch = model->isFilterActive.observe([&](bool) {
        filterWhenTheSwitchMoved.push_back(program.appState.isGrayscaleFilterEnabled());
    });
    model->toggleFilter();
    EXPECT_TRUE(model->isFilterActive());
    EXPECT_EQ(displayMode(), 2u);
    EXPECT_TRUE(program.services.settings().settings().userWantsGrayscaleEnabled);

    model->toggleFilter();
    EXPECT_FALSE(model->isFilterActive());
    EXPECT_EQ(displayMode(), 0u);
    EXPECT_FALSE(program.services.settings().settings().userWantsGrayscaleEnabled);
    // Each time the switch moved before the filter had acted.
    EXPECT_EQ(filterWhenTheSwitchMoved, (std::vector<bool>{false, true}));
}

TEST_F(GrayscaleFilterViewModelTest, APauseCountsDownInTheModelToItsEndAndResumingEndsItAtOnce) {
    auto model = makeModel();
    EXPECT_EQ(model->pauseTimeText(), "");
    model->toggleFilter();

    program.services.pauseGrayscale(3);
    EXPECT_TRUE(model->isPaused());
    EXPECT_EQ(displayMode(), 0u);
    std::vector<std::string> shown{model->pauseTimeText()};
    for (int second = 0; second < 3; ++second) {
        program.loop.advanceSeconds(1);
        shown.push_back(model->pauseTimeText());
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"3s", "2s", "1s", ""}));
    EXPECT_FALSE(model->isPaused());
    EXPECT_EQ(displayMode(), 2u);

    program.services.pauseGrayscale(300);
    EXPECT_EQ(model->pauseTimeText(), "5m 0s");
    program.loop.advanceSeconds(1);
    EXPECT_EQ(model->pauseTimeText(), "4m 59s");
    model->resumeFromPause();
    EXPECT_FALSE(model->isPaused());
    EXPECT_FALSE(model->pauseRemainingSeconds());
    EXPECT_EQ(displayMode(), 2u);
}

TEST_F(GrayscaleFilterViewModelTest, PauseTimeTextCountsSecondsThenMinutes) {
    auto model = makeModel();
    const std::vector<std::pair<std::int64_t, std::string>> cases{
        {0, "0s"}, {59, "59s"}, {60, "1m 0s"}, {65, "1m 5s"}, {299, "4m 59s"}, {300, "5m 0s"}};
    for (const auto& [seconds, text] : cases) {
        program.appState.pauseRemainingSeconds.set(seconds);
        EXPECT_EQ(model->pauseTimeText(), text) << seconds;
    }
}

TEST_F(GrayscaleFilterViewModelTest, TextThatNamesNoNewSiteCallsNothing) {
    program.services.settings().settings().grayscaleAllowedSites = {"wiki.org"};
    auto model = makeModel();
    const auto requests = fetcher.requests.size();
    ScopedLogCapture log;
    const std::vector<std::pair<std::string, std::string>> cases{
        // The typed text, what the field keeps.
        {"   ", "   "},
        {"/abc", "/abc"},
        {"=/abc", "=/abc"},
        {"https://", "https://"},
        {"HTTPS://www.Wiki.org/", ""},
    };
    for (const auto& [typed, kept] : cases) {
        model->newSiteInput.set(typed);
        model->addSite();
        EXPECT_EQ(model->newSiteInput(), kept) << typed;
    }
    EXPECT_FALSE(program.services.hasGrayscale());
    EXPECT_TRUE(webFeatures.used.empty());
    EXPECT_EQ(fetcher.requests.size(), requests);
    EXPECT_EQ(log->count("Réglages sauvegardés avec succès"), 0u);
    EXPECT_EQ(model->allowedSites(), std::vector<std::string>{"wiki.org"});
}

TEST_F(GrayscaleFilterViewModelTest, AddingASiteWritesTheRulesAndAsksForTheExtensionOnce) {
    auto model = makeModel();
    model->newSiteInput.set("  https://www.Example.com/Path/more?q=1 ");
    model->addSite();

    EXPECT_EQ(model->newSiteInput(), "");
    EXPECT_EQ(model->allowedSites(), std::vector<std::string>{"example.com/path"});
    const auto written = rules();
    ASSERT_TRUE(written);
    EXPECT_EQ(written->at("_grayscale"), (Json{{"allowedSites", {"example.com/path"}}}));
    EXPECT_EQ(webFeatures.used, std::vector<WebFeatureCategory>{WebFeatureCategory::monochrome});
    // Its icon is asked for by host.
    ASSERT_EQ(fetcher.requests.size(), 1u);
    EXPECT_TRUE(fetcher.domainOf(0).contains(QStringLiteral("domain=example.com&")));

    const auto& rows = model->allowedSitesRowData();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].domain, "example.com/path");
    EXPECT_FALSE(rows[0].hasFavicon);
    EXPECT_TRUE(rows[0].isLast);
}

TEST_F(GrayscaleFilterViewModelTest, SiteRowsKeepTheEntryAndTakeTheHostsIcon) {
    program.services.settings().settings().grayscaleAllowedSites = {"=exact.org/page", "news.test"};
    auto model = makeModel();
    EXPECT_EQ(rowIds(*model), (std::vector<std::string>{"=exact.org/page", "news.test"}));
    const auto& rows = model->allowedSitesRowData();
    EXPECT_EQ(rows[0].domain, "=exact.org/page");
    EXPECT_FALSE(rows[0].isLast);
    EXPECT_TRUE(rows[1].isLast);
    // The model's start prefetches by host; a refresh asks for nothing new.
    ASSERT_EQ(fetcher.requests.size(), 2u);
    EXPECT_TRUE(fetcher.domainOf(0).contains(QStringLiteral("domain=exact.org&")));

    int notified = 0;
    const auto watch = model->allowedSitesRowData.observe([&](const auto&) { ++notified; });
    model->refreshSiteRows();
    EXPECT_EQ(notified, 0);
    fetcher.answer(0, {std::nullopt, 200, test::FakeFaviconFetcher::png(Qt::red), "image/png"});
    model->refreshSiteRows();
    EXPECT_EQ(notified, 1);
    EXPECT_TRUE(model->allowedSitesRowData()[0].hasFavicon);
    EXPECT_EQ(fetcher.requests.size(), 2u);

    model->removeSite("=exact.org/page");
    EXPECT_EQ(rowIds(*model), std::vector<std::string>{"news.test"});
    EXPECT_EQ(rules()->at("_grayscale"), (Json{{"allowedSites", {"news.test"}}}));
}

TEST_F(GrayscaleFilterViewModelTest, AppRowsStartOneLookupEachAndNameTheApplicationAsTheListDoes) {
    install("org.example.editor", "Éditeur", Qt::green);
    program.services.settings().settings().grayscaleAllowedApps = {"org.example.editor",
                                                                   "org.example.gone"};
    auto model = makeModel();
    const auto& first = model->allowedAppsRowData();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].name, "org.example.editor");
    EXPECT_EQ(first[0].icon.deviceIndependentSize(), QSizeF(32, 32));
    EXPECT_TRUE(apps.isLookingUp("org.example.editor"));
    model->refreshAppRows();
    finishLookups();
    EXPECT_EQ(catalogue.finds, 2);

    model->refreshAppRows();
    EXPECT_EQ(model->allowedAppsRowData()[0].name, "Éditeur");
    // An application no entry names keeps its ID.
    EXPECT_EQ(model->allowedAppsRowData()[1].name, "org.example.gone");
    EXPECT_TRUE(model->allowedAppsRowData()[1].isLast);

    model->removeApp("org.example.gone");
    ASSERT_EQ(model->allowedAppsRowData().size(), 1u);
    EXPECT_TRUE(model->allowedAppsRowData()[0].isLast);
}

TEST_F(GrayscaleFilterViewModelTest, ASecondModelReadsWhatTheFirstSaved) {
    install("org.example.editor", "Éditeur", Qt::green);
    {
        auto model = makeModel();
        model->addApp("org.example.editor");
        model->newSiteInput.set("wiki.org");
        model->addSite();
        ScopedLogCapture log;
        model->setPauseOnFullscreenVideo(true);
        model->setPauseOnFullscreenVideo(true);
        model->setPauseOnFullscreenVideo(false);
        model->setPauseOnFullscreenVideo(true);
        EXPECT_EQ(log->count("Réglages sauvegardés avec succès"), 3u);
    }
    SettingsManager reread(program.defaults, program.loop.clock());
    auto collaborators = this->collaborators();
    GrayscaleFilterViewModel second(
        {collaborators.appState, reread, collaborators.grayscale, favicons, apps, webFeatures});
    EXPECT_EQ(second.allowedApps(), std::vector<std::string>{"org.example.editor"});
    EXPECT_EQ(second.allowedSites(), std::vector<std::string>{"wiki.org"});
    EXPECT_TRUE(second.pauseOnFullscreenVideo());
    EXPECT_EQ(second.allowedAppsRowData().size(), 1u);
}

TEST_F(GrayscaleFilterViewModelTest, DestroyingTheModelEndsItsObservations) {
    auto model = makeModel();
    model.reset();
    // Would reach the freed model, which the sanitizer reports.
    program.appState.isGrayscaleFilterEnabled.set(true);
    program.appState.isPaused.set(true);
    program.appState.pauseRemainingSeconds.set(3);
}

}  // namespace
}  // namespace olvane::ui
