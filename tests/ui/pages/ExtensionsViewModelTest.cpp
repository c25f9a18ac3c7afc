#include <gtest/gtest.h>

#include "platform/sim/CaptureLogSink.h"
#include "ui/pages/BrowserFixture.h"

namespace olvane::ui {
namespace {

using platform::LogLevel;

std::vector<BrowserType> browsersOf(ExtensionsViewModel& model) {
    std::vector<BrowserType> browsers;
    for (const auto& entry : model.installedBrowsers()) {
        browsers.push_back(entry.browser);
    }
    return browsers;
}

TEST(ExtensionsViewModel, InstalledBrowsersTable) {
    struct Row {
        std::vector<std::string> desktopIds;
        std::vector<BrowserType> expected;
    };
    const std::vector<Row> rows{
        {{"com.google.Chrome", "com.apple.Safari"}, {BrowserType::safari, BrowserType::chrome}},
        {{}, {}},
        {{"google-chrome", "firefox-esr"}, {BrowserType::firefox, BrowserType::chrome}},
        {{"chromium"}, {BrowserType::chrome}},
        {{"google-chrome-beta", "firefox-developer-edition"}, {}},
    };
    for (const auto& row : rows) {
        test::BrowserFixture fixture;
        for (const auto& id : row.desktopIds) {
            fixture.install(id);
        }
        ExtensionsViewModel model(fixture.collaborators());
        EXPECT_EQ(browsersOf(model), row.expected) << ::testing::PrintToString(row.desktopIds);
    }
}

TEST(ExtensionsViewModel, TheBrowsersOwnIdGivesTheIcon) {
    test::BrowserFixture fixture;
    fixture.install("firefox", Qt::blue);
    fixture.install("org.mozilla.firefox", Qt::red);
    ExtensionsViewModel model(fixture.collaborators());
    (void)model.installedBrowsers();  // the icons are looked up on the worker
    fixture.background.waitUntilIdle();
    fixture.loop.runPending();

    const auto browsers = model.installedBrowsers();
    ASSERT_EQ(browsers.size(), 1u);
    const QImage& icon = browsers.front().icon;
    EXPECT_EQ(icon.pixelColor(icon.width() / 2, icon.height() / 2), QColor(Qt::red));
}

TEST(ExtensionsViewModel, StoresOpenForFirefoxAndChromeAndSafariFallsBackToNothing) {
    test::BrowserFixture fixture;
    platform::sim::ScopedLogCapture log;
    ExtensionsViewModel model(fixture.collaborators());

    model.performPrimaryAction(BrowserType::firefox);
    model.performPrimaryAction(BrowserType::chrome);
    EXPECT_EQ(fixture.urls.opened,
              (std::vector<std::string>{"https://addons.mozilla.org/",
                                        "https://chromewebstore.google.com/"}));

    model.performPrimaryAction(BrowserType::safari);
    EXPECT_TRUE(log->texts("App").empty()) << "the answer comes on the run loop";
    fixture.loop.runPending();
    EXPECT_EQ(fixture.urls.opened.size(), 2u);
    EXPECT_EQ(log->texts("App"),
              (std::vector<std::string>{
                  "showPreferencesForExtension a échoué: Safari n'est pas disponible sur ce "
                  "système",
                  "Aucun réglage système des extensions ici — rien n'est ouvert"}));
    EXPECT_TRUE(log->contains("App", LogLevel::Error,
                              "showPreferencesForExtension a échoué: Safari n'est pas disponible "
                              "sur ce système"));
}

}  // namespace
}  // namespace olvane::ui
