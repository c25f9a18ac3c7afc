// Figures for the Contrepoids page with 100 targets (50 applications, 50 sites): building it
// until it is painted, switching its tab, and opening one row onto its panel. Each is the median
// of several runs after a first one that meets cold caches. Target: the page appears within
// 100 ms.
#include <QApplication>
#include <QPixmap>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "browser/WebFeatureUsage.h"
#include "model/RulesFileService.h"
#include "model/SettingsManager.h"
#include "platform/BackgroundQueue.h"
#include "platform/Paths.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryKeyValueStore.h"
#include "ui/foundation/ApplicationCatalogue.h"
#include "ui/foundation/FaviconService.h"
#include "ui/foundation/InstalledAppsService.h"
#include "ui/pages/contrepoids/FrictionEffectsView.h"
#include "ui/pages/contrepoids/FrictionEngine.h"
#include "ui/pages/contrepoids/RedListItemRow.h"
#include "ui/pages/contrepoids/RedListSection.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace olvane;

constexpr int kTargets = 100;
constexpr int kRepeats = 9;

class IdleEngine final : public ui::FrictionEngine {
  public:
    bool isMonitoring() const override { return true; }
    void startMonitoring() override {}
    void stopMonitoring() override {}
    void reevaluateCurrentApp() override {}
    void deactivateEffectForClosedApp() override {}
    void testFogOnOwnWindow() override {}
    void deactivateAllEffects() override {}
    bool activateTurtle(TurtleIntensity, bool) override { return true; }
    void deactivateTurtle() override {}
};

class SilentFetcher final : public ui::FaviconFetcher {
  public:
    platform::Handle fetch(const QUrl&, Completion) override { return {}; }
};

class NoCatalogue final : public ui::ApplicationCatalogue {
  public:
    std::vector<ui::ApplicationEntry> listApplications() const override { return {}; }
    std::optional<ui::ApplicationEntry> findApplication(std::string_view) const override {
        return std::nullopt;
    }
    bool themeIconIsReadable(const std::string&) const override { return false; }
    QImage themeIcon(const std::string&, int) const override { return {}; }
};

class NoPrompts final : public WebFeatureUsage {
  public:
    void featureUsed(WebFeatureCategory) override {}
};

std::vector<RedListConfig> targets() {
    std::vector<RedListConfig> list;
    for (int i = 0; i < kTargets; ++i) {
        RedListConfig target;
        target.id = Uuid::random();
        const bool site = i % 2 == 1;
        target.targetType = site ? FrictionTargetType::website : FrictionTargetType::app;
        target.targetIdentifier = site ? "site" + std::to_string(i) + ".test"
                                       : "org.bench.Application" + std::to_string(i);
        target.targetDisplayName =
            site ? target.targetIdentifier : "Application " + std::to_string(i);
        target.isFogEnabled = i % 3 == 0;
        target.isDelayEnabled = i % 5 == 0;
        list.push_back(target);
    }
    return list;
}

double since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Lays the page out and paints it, as the window does when it first shows it.
void paint(QWidget& page) {
    QApplication::processEvents();
    page.resize(880, std::max(page.heightForWidth(880), page.sizeHint().height()));
    (void)page.grab();
}

}  // namespace

int main(int argc, char** argv) {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const fs::path home =
        fs::temp_directory_path() / ("olvane-page-bench-" + std::to_string(::getpid()));
    fs::create_directories(home);
    const platform::Paths paths([&](const std::string& name) -> std::optional<std::string> {
        return name == "HOME" ? std::optional(home.string()) : std::nullopt;
    });

    platform::sim::ManualRunLoop loop;
    platform::sim::MemoryKeyValueStore store;
    SettingsManager settings(store, loop.clock());
    settings.settings().redListConfigs = targets();
    RulesFileService rules(paths);
    IdleEngine engine;
    SilentFetcher fetcher;
    ui::FaviconService favicons(loop, loop.clock(), fetcher, home / "favicons",
                                QUrl(QStringLiteral("https://favicons.test/s2")));
    NoCatalogue catalogue;
    platform::BackgroundQueue background;
    ui::InstalledAppsService apps(loop, catalogue, background);
    NoPrompts prompts;

    std::vector<double> builds, switches, expansions;
    double firstBuild = 0;
    for (int run = 0; run <= kRepeats; ++run) {
        auto start = Clock::now();
        ui::FrictionEffectsView page(
            [&](QWidget&) {
                return ui::FrictionEffectsViewModel::Collaborators{
                    loop, settings, rules, engine, favicons, prompts, nullptr};
            },
            apps);
        page.show();
        paint(page);
        const double built = since(start);
        if (run == 0) {
            firstBuild = built;
            continue;
        }
        builds.push_back(built);

        start = Clock::now();
        page.targets()->selectedTab.set(ui::ExceptionTab::websites);
        paint(page);
        switches.push_back(since(start));

        auto* row = page.targets()->rows(ui::ExceptionTab::websites)[10];
        start = Clock::now();
        row->setExpanded(true);
        paint(page);
        expansions.push_back(since(start));
    }
    std::printf("Page with %d targets: first build %6.1f ms, then (median) %6.1f ms\n", kTargets,
                firstBuild, median(builds));
    std::printf("Tab switch (median)                %6.1f ms\n", median(switches));
    std::printf("Opening one row (median)           %6.1f ms\n", median(expansions));

    std::error_code ec;
    fs::remove_all(home, ec);
    return 0;
}
