#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>

#include "model/SettingsManager.h"
#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/SimKeyboardLayout.h"
#include "ui/UiTestSupport.h"
#include "ui/foundation/AddExceptionRow.h"
#include "ui/foundation/Animations.h"
#include "ui/foundation/AppPickerSheet.h"
#include "ui/foundation/ExceptionTabBar.h"
#include "ui/foundation/MainCardToggle.h"
#include "ui/foundation/MainWindowView.h"
#include "ui/foundation/OlvaneToggleStyle.h"
#include "ui/foundation/SettingTextBlock.h"
#include "ui/foundation/SidebarView.h"
#include "ui/foundation/SitePickerSheet.h"
#include "ui/foundation/SpacingDebugManager.h"
#include "ui/foundation/SubtitleAlignedRow.h"
#include "ui/foundation/SymbolView.h"
#include "ui/foundation/ThemedTextField.h"
#include "ui/foundation/WindowWidth.h"
#include "ui/pages/monochrome/AllowedAppRowView.h"
#include "ui/pages/monochrome/AllowedSiteRowView.h"
#include "ui/pages/monochrome/ExceptionDeleteButton.h"
#include "ui/pages/monochrome/GrayscaleActivationSection.h"
#include "ui/pages/monochrome/GrayscaleExceptionsSection.h"
#include "ui/pages/monochrome/GrayscaleFilterView.h"
#include "ui/pages/monochrome/GrayscaleSettingsSection.h"
#include "ui/pages/monochrome/GrayscaleShortcutsSection.h"
#include "ui/pages/monochrome/MainToggleCard.h"
#include "ui/pages/monochrome/MonochromeFixture.h"
#include "ui/pages/monochrome/PauseStatusCard.h"
#include "ui/pages/monochrome/ShortcutKeysLine.h"

namespace olvane::ui {
namespace {

// The page's width in a window of the default size, beside the sidebar.
constexpr int kPageWidth = 880;

class GrayscaleFilterViewTest : public test::MonochromeFixture {
  protected:
    GrayscaleFilterViewTest() { Animations::setJumpToEnd(true); }
    ~GrayscaleFilterViewTest() override { Animations::setJumpToEnd(false); }

    std::unique_ptr<GrayscaleFilterView> openPage() {
        auto page = std::make_unique<GrayscaleFilterView>(collaborators(), windowWidth, keyboard);
        // The white of the page area behind it.
        QPalette palette = page->palette();
        palette.setColor(QPalette::Window, Qt::white);
        page->setPalette(palette);
        page->setAutoFillBackground(true);
        page->resize(kPageWidth, page->heightForWidth(kPageWidth));
        page->show();
        return page;
    }
    // Lays the page out at its full height for the picture.
    void picture(GrayscaleFilterView& page, const QString& name) {
        page.resize(kPageWidth, page.heightForWidth(kPageWidth));
        EXPECT_TRUE(test::saveArtefact(page, name));
    }
    static void tap(QWidget* widget) {
        test::clickAt(widget, QPoint(widget->width() - 4, widget->height() / 2));
    }
    static QString pauseText(GrayscaleFilterView& page) {
        return page.activation()->isPauseShown() ? page.activation()->pauseCard()->countdown()
                                                 : QString();
    }

    WindowWidth windowWidth;
    platform::sim::SimKeyboardLayout keyboard;
};

TEST_F(GrayscaleFilterViewTest, TheCardSwitchesTheFilterAndThePauseCardCountsDown) {
    auto page = openPage();
    MainToggleCard* card = page->activation()->mainCard();
    EXPECT_EQ(card->status(), "État : Le filtre noir et blanc est inactif");
    EXPECT_EQ(card->symbol()->name(), "circle");
    EXPECT_EQ(card->fill(), QColor(Qt::white));
    EXPECT_FALSE(page->activation()->isPauseShown());
    picture(*page, "monochrome-off");

    tap(card);
    EXPECT_EQ(displayMode(), 2u);
    EXPECT_EQ(card->status(), "État : Le filtre noir et blanc est actif");
    EXPECT_EQ(card->symbol()->name(), "circle.fill");
    EXPECT_EQ(card->fill(), QColor(Qt::black));
    EXPECT_TRUE(card->toggle()->isActive());
    picture(*page, "monochrome-on");

    program.services.pauseGrayscale(3);
    QStringList countdown{pauseText(*page)};
    for (int second = 0; second < 3; ++second) {
        program.loop.advanceSeconds(1);
        countdown << pauseText(*page);
    }
    EXPECT_EQ(countdown,
              (QStringList{"Reprend dans 3s", "Reprend dans 2s", "Reprend dans 1s", ""}));

    program.services.pauseGrayscale(300);
    EXPECT_EQ(pauseText(*page), "Reprend dans 5m 0s");
    program.loop.advanceSeconds(1);
    EXPECT_EQ(pauseText(*page), "Reprend dans 4m 59s");
    picture(*page, "monochrome-paused");
    tap(page->activation()->pauseCard());
    EXPECT_FALSE(page->activation()->isPauseShown());
    EXPECT_EQ(displayMode(), 2u);

    // Tapping while paused still switches the intention.
    program.services.pauseGrayscale(300);
    tap(card);
    EXPECT_FALSE(program.services.settings().settings().userWantsGrayscaleEnabled);
    EXPECT_FALSE(page->activation()->isPauseShown());
}

TEST_F(GrayscaleFilterViewTest, ExceptionsComeFromThePickersAndGoWithTheirRows) {
    install("org.example.editor", "Éditeur", QColor(40, 120, 220));
    install("org.example.mail", "Courrier", QColor(220, 60, 40));
    program.services.settings().settings().grayscaleAllowedApps = {"org.example.mail"};
    auto page = openPage();
    auto* exceptions = page->exceptions();
    ASSERT_EQ(exceptions->appRows().size(), 1u);
    // On screen the row looks its application up itself.
    EXPECT_EQ(exceptions->appRows()[0]->text(), "Courrier");
    EXPECT_TRUE(exceptions->appRows()[0]->image());

    page->showAppPicker.set(true);
    auto* picker = qobject_cast<AppPickerSheet*>(page->appPicker());
    ASSERT_TRUE(picker);
    program.loop.runPending();
    const auto listed = picker->filteredApps();
    const auto editor = std::find_if(listed.begin(), listed.end(),
                                     [](const auto& app) { return app.name == "Éditeur"; });
    ASSERT_NE(editor, listed.end());
    picker->selectApp(*editor);
    EXPECT_FALSE(page->showAppPicker());
    EXPECT_EQ(program.services.settings().settings().grayscaleAllowedApps,
              (std::vector<std::string>{"org.example.mail", "org.example.editor"}));
    const auto rows = exceptions->appRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1]->text(), "Éditeur");
    EXPECT_EQ(rows[0]->separatorOpacity(), 0.1);
    EXPECT_EQ(rows[1]->separatorOpacity(), 0.0);
    EXPECT_TRUE(exceptions->addAppRow()->hasSeparator());
    EXPECT_EQ(exceptions->tabBar()->title(ExceptionTab::apps), "Applications (2)");
    picture(*page, "monochrome-exceptions-apps");

    exceptions->tabBar()->tab(ExceptionTab::websites)->click();
    EXPECT_FALSE(exceptions->addSiteRow()->hasSeparator());
    page->showSitePicker.set(true);
    auto* sites = qobject_cast<SitePickerSheet*>(page->sitePicker());
    ASSERT_TRUE(sites);
    sites->field()->setText(QStringLiteral("  Wikipedia.org "));
    sites->addSite();
    for (const char* typed : {"news.test", "=exact.org/page"}) {
        page->showSitePicker.set(true);
        auto* sheet = qobject_cast<SitePickerSheet*>(page->sitePicker());
        sheet->field()->setText(QString::fromLatin1(typed));
        sheet->addSite();
    }
    fetcher.answer(
        0, {std::nullopt, 200, test::FakeFaviconFetcher::png(QColor(30, 160, 90)), "image/png"});
    EXPECT_EQ(exceptions->tabBar()->title(ExceptionTab::websites), "Sites web (3)");
    EXPECT_EQ(exceptions->shownList(), exceptions->siteRows()[0]->parentWidget());
    ASSERT_EQ(exceptions->siteRows().size(), 3u);
    EXPECT_TRUE(exceptions->siteRows()[0]->image());
    EXPECT_FALSE(exceptions->siteRows()[1]->image());
    picture(*page, "monochrome-exceptions-sites");

    exceptions->siteRows()[1]->deleteButton()->click();
    EXPECT_EQ(program.services.settings().settings().grayscaleAllowedSites,
              (std::vector<std::string>{"wikipedia.org", "=exact.org/page"}));
    EXPECT_EQ(exceptions->siteRows().size(), 2u);
    EXPECT_EQ(exceptions->tabBar()->title(ExceptionTab::websites), "Sites web (2)");
    exceptions->appRows()[0]->deleteButton()->click();
    EXPECT_EQ(exceptions->tabBar()->title(ExceptionTab::apps), "Applications (1)");
    // The removed rows leave once the loop runs again.
    EXPECT_TRUE(test::processEventsUntil(
        [&] { return exceptions->findChildren<AllowedSiteRowView*>().size() == 2; }));
}

TEST_F(GrayscaleFilterViewTest, ShortcutKeysAndTheirSpaceFollowTheWindow) {
    auto page = openPage();
    const auto& rows = page->shortcuts()->rows();
    const auto keys = [&](int row) {
        return qobject_cast<ShortcutKeysLine*>(rows[row]->control())->texts();
    };
    EXPECT_EQ(keys(0), (QStringList{"Ctrl", "+", "Alt", "+", "Super", "+", "A"}));
    EXPECT_EQ(keys(1), (QStringList{"Ctrl", "+", "Alt", "+", "Super", "+", "Z", "puis", "P", "→",
                                    "M", "→", "N", "→", "B"}));
    // Under the captions of the layout in use, as soon as it is known or changes.
    keyboard.setLabels({{12, "Q"}, {13, "W"}, {35, "P"}, {41, ";"}, {45, "N"}, {11, "B"}});
    EXPECT_EQ(keys(0), (QStringList{"Ctrl", "+", "Alt", "+", "Super", "+", "Q"}));
    EXPECT_EQ(keys(1), (QStringList{"Ctrl", "+", "Alt", "+", "Super", "+", "W", "puis", "P", "→",
                                    ";", "→", "N", "→", "B"}));
    // The keys stand on the description's line.
    const auto* text = rows[0]->text();
    const QRect description = text->description()->geometry().translated(text->pos());
    EXPECT_NEAR(rows[0]->control()->geometry().center().y(), description.center().y(), 1);

    // At the window's least width the long sequence goes under its text instead of squeezing
    // it; the short one stays beside its own. Both rows keep clear of the divider between them.
    const int narrow = MainWindowView::kMinimumWidth - SidebarView::kWidth;
    page->resize(narrow, page->heightForWidth(narrow));
    QApplication::processEvents();
    EXPECT_FALSE(rows[0]->isStacked(rows[0]->width()));
    EXPECT_TRUE(rows[1]->isStacked(rows[1]->width()));
    EXPECT_GT(rows[1]->control()->y(), rows[1]->text()->geometry().bottom());
    EXPECT_EQ(rows[1]->text()->width(), rows[1]->contentsRect().width());
    EXPECT_GE(rows[1]->y() - rows[0]->geometry().bottom(), 2 * 12);
    EXPECT_TRUE(test::saveArtefact(*page, "monochrome-narrow"));

    EXPECT_EQ(rows[0]->minimumGap(), 64);
    windowWidth.measure(1001);
    EXPECT_EQ(rows[0]->minimumGap(), 96);
    windowWidth.measure(1000);
    EXPECT_EQ(rows[1]->minimumGap(), 96);  // within a point: not a change
    windowWidth.measure(998);
    EXPECT_EQ(rows[1]->minimumGap(), 64);
}

TEST_F(GrayscaleFilterViewTest, TheVideoSwitchSavesEachChangeAndTheNextPageShowsIt) {
    platform::sim::ScopedLogCapture log;
    {
        auto page = openPage();
        EXPECT_FALSE(page->settings()->videoSwitch()->isChecked());
        EXPECT_EQ(log->count("Réglages sauvegardés avec succès"), 0u);
        page->settings()->videoSwitch()->click();
        page->settings()->videoSwitch()->click();
        page->settings()->videoSwitch()->click();
        EXPECT_EQ(log->count("Réglages sauvegardés avec succès"), 3u);
    }
    SettingsManager reread(program.defaults, program.loop.clock());
    EXPECT_TRUE(reread.settings().grayscalePauseOnFullscreenVideo);
    auto page = openPage();
    EXPECT_TRUE(page->settings()->videoSwitch()->isChecked());
}

TEST_F(GrayscaleFilterViewTest, PictureWithSpacingDebug) {
    program.services.settings().settings().grayscaleAllowedSites = {"wikipedia.org"};
    SpacingDebugManager spacing(program.loop.clock());
    spacing.toggleOverlays();
    auto page = openPage();
    program.services.enableGrayscale();
    program.services.pauseGrayscale(300);
    picture(*page, "monochrome-spacing-debug");
    spacing.toggleOverlays();
    EXPECT_FALSE(SpacingDebugManager::overlaysVisible());
}

}  // namespace
}  // namespace olvane::ui
