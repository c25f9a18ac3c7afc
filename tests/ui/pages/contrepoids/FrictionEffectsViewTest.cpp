// The Contrepoids page drawn offscreen over its model: the effects and their test buttons, the
// targets with their rows, panels, option lists and editors, and the delay test's panel.
#include <gtest/gtest.h>

#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSet>
#include <algorithm>

#include "platform/BackgroundQueue.h"
#include "ui/UiTestSupport.h"
#include "ui/effects/DelayAccessOverlayView.h"
#include "ui/effects/DelayButton.h"
#include "ui/foundation/AddExceptionRow.h"
#include "ui/foundation/Animations.h"
#include "ui/foundation/CustomIntensityPopup.h"
#include "ui/foundation/DebugDimensionOverlay.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/DropdownOptionButton.h"
#include "ui/foundation/ExceptionTabBar.h"
#include "ui/foundation/FadingSeparator.h"
#include "ui/foundation/FixtureCatalogue.h"
#include "ui/foundation/InstalledAppsService.h"
#include "ui/foundation/SpacingDebugManager.h"
#include "ui/foundation/ThemedSlider.h"
#include "ui/foundation/ToggleSwitchView.h"
#include "ui/pages/contrepoids/ContrepoidsFixture.h"
#include "ui/pages/contrepoids/DelayCustomDurationPopup.h"
#include "ui/pages/contrepoids/EffectRow.h"
#include "ui/pages/contrepoids/EffectTestButton.h"
#include "ui/pages/contrepoids/EffectsSection.h"
#include "ui/pages/contrepoids/FrictionEffectsView.h"
#include "ui/pages/contrepoids/MenuDropdownButton.h"
#include "ui/pages/contrepoids/PresetIntensityPopup.h"
#include "ui/pages/contrepoids/QtDelayTestPanel.h"
#include "ui/pages/contrepoids/RedListConfigPanel.h"
#include "ui/pages/contrepoids/RedListSection.h"

namespace olvane::ui {
namespace {

using Effect = FrictionEffectType;

// The page's width in a window of the default size, beside the sidebar.
constexpr int kPageWidth = 880;

class FrictionEffectsViewTest : public test::ContrepoidsFixture {
  protected:
    FrictionEffectsViewTest() { Animations::setJumpToEnd(true); }
    ~FrictionEffectsViewTest() override { Animations::setJumpToEnd(false); }

    std::unique_ptr<FrictionEffectsView> openPage() {
        auto page = std::make_unique<FrictionEffectsView>(
            [this](QWidget&) { return collaborators(); }, apps);
        test::paintWhite(*page);
        layOut(*page);
        page->show();
        return page;
    }
    // As the window's scroll area does when the page grows.
    static void layOut(QWidget& page) { page.resize(kPageWidth, page.heightForWidth(kPageWidth)); }
    static void open(QWidget& page, RedListItemRow* row) {
        click(row->mainRow());
        layOut(page);
    }
    void picture(QWidget& page, const QString& name) {
        test::processEventsFor(50);
        layOut(page);
        EXPECT_TRUE(test::saveArtefact(page, name));
    }
    void install(const std::string& id, const std::string& name, const QColor& colour) {
        catalogue.addThemeIcon(id, colour);
        test::FixtureCatalogue::write(catalogue.user() / (id + ".desktop"),
                                      test::FixtureCatalogue::application(name, id));
    }
    void finishLookups() {
        background.waitUntilIdle();
        loop.advanceSeconds(InstalledAppsService::kCacheUpdateThrottleSeconds);
    }
    static void click(QWidget* widget) {
        test::clickAt(widget, QPoint(widget->width() / 2, widget->height() / 2));
    }
    // The option list of `effect` in `panel`, opened from its menu.
    static std::vector<DropdownOptionButton*> openOptions(RedListConfigPanel& panel,
                                                          Effect effect) {
        click(panel.menuButton(effect));
        QWidget* list = panel.optionList(effect);
        if (!list) {
            return {};
        }
        const auto options = list->findChildren<DropdownOptionButton*>();
        return {options.begin(), options.end()};
    }

    test::FixtureCatalogue catalogue{home.root() / "catalogue"};
    platform::BackgroundQueue background;
    InstalledAppsService apps{loop, catalogue, background};
};

TEST_F(FrictionEffectsViewTest, TheEffectsOfferTheirTestsAndShareOneCount) {
    auto page = openPage();
    const auto& rows = page->effects()->rows();
    EXPECT_EQ(rows[0]->name(), "Buée");
    EXPECT_EQ(rows[1]->description(), "Diminue la sensibilité de la souris et de sa molette");
    EXPECT_EQ(rows[2]->description(), "Ajoute un temps d'attente avant d'accéder au contenu");
    EXPECT_EQ(rows[0]->testButton()->label(), "Tester 5s");
    // The header is followed by the section margin, not the frame's larger default.
    const auto gaps = page->findChildren<DebugSpacingIndicator*>();
    ASSERT_FALSE(gaps.empty());
    EXPECT_TRUE(std::none_of(gaps.begin(), gaps.end(),
                             [](const auto* gap) { return gap->name() == "pageHeaderGap"; }));
    // The button stands on the description's line.
    const QRect description = rows[0]->findChildren<QLabel*>()[1]->geometry();
    EXPECT_NEAR(rows[0]->testButton()->geometry().center().y(), description.center().y(), 1);
    auto* targets = page->targets();
    for (const auto tab : {ExceptionTab::apps, ExceptionTab::websites}) {
        EXPECT_FALSE(targets->addRow(tab)->hasSeparator()) << "an empty list shows its add row";
    }
    EXPECT_EQ(targets->tabBar()->title(ExceptionTab::apps), "Applications (0)");
    picture(*page, "contrepoids-empty");

    click(rows[1]->testButton());
    loop.advanceSeconds(2);
    click(rows[0]->testButton());
    EXPECT_EQ(rows[0]->testButton()->label(), "Annuler 5s");
    EXPECT_EQ(rows[1]->testButton()->label(), "Annuler 5s");
    EXPECT_EQ(rows[2]->testButton()->label(), "Tester 5s");
    loop.advanceSeconds(2);
    EXPECT_EQ(rows[1]->testButton()->label(), "Annuler 3s");
    picture(*page, "contrepoids-testing");

    // Either "Annuler" ends both.
    click(rows[1]->testButton());
    EXPECT_FALSE(page->viewModel().isFogTesting() || page->viewModel().isTurtleTesting());
    EXPECT_EQ(rows[0]->testButton()->label(), "Tester 5s");
}

TEST_F(FrictionEffectsViewTest, TargetRowsShowTheirStateAndOpenOntoTheirPanel) {
    install("org.example.mail", "Courrier", QColor(220, 60, 40));
    install("org.example.editor", "Éditeur", QColor(40, 120, 220));
    auto active = test::makeTarget(FrictionTargetType::app, "org.example.mail");
    active.targetDisplayName = "Courrier";
    active.isFogEnabled = active.isTurtleEnabled = active.isDelayEnabled = true;
    auto editor = test::makeTarget(FrictionTargetType::app, "org.example.editor");
    editor.targetDisplayName = "Éditeur";
    auto unknown = test::makeTarget(FrictionTargetType::app, "org.example.gone");
    auto site = test::makeTarget(FrictionTargetType::website, "youtube.com");
    settings.settings().redListConfigs = {active, editor, unknown, site};
    auto page = openPage();
    finishLookups();
    RedListSection* section = page->targets();
    auto rows = section->rows(ExceptionTab::apps);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(section->tabBar()->title(ExceptionTab::websites), "Sites web (1)");
    EXPECT_TRUE(rows[0]->isActive());
    EXPECT_EQ(rows[0]->foreground(), QColor(Qt::white));
    EXPECT_EQ(rows[0]->activeEffectSymbols(),
              (std::vector<std::string>{"humidity", "tortoise.fill", "clock.fill"}));
    EXPECT_TRUE(rows[0]->cachedIcon());
    EXPECT_FALSE(rows[1]->isActive());
    EXPECT_TRUE(rows[1]->activeEffectSymbols().empty());
    EXPECT_FALSE(rows[2]->cachedIcon()) << "an application nobody knows keeps its symbol";
    EXPECT_EQ(rows[2]->fallbackSymbol(), "app.fill");

    // Opening the middle row hides the lines beside it, not the add row's.
    open(*page, rows[1]);
    ASSERT_TRUE(rows[1]->panel());
    EXPECT_EQ(rows[1]->chevronSymbol(), "chevron.up");
    const auto separators = section->separators(ExceptionTab::apps);
    ASSERT_EQ(separators.size(), 2u);
    EXPECT_TRUE(separators[0]->isLineHidden() && separators[1]->isLineHidden());
    EXPECT_FALSE(section->addRow(ExceptionTab::apps)->isSeparatorHidden());
    // Switching an effect off hides its menu without moving the switch.
    RedListConfigPanel* panel = rows[1]->panel();
    const QRect switchPlace = panel->toggle(Effect::delay)->geometry();
    for (const auto effect : {Effect::fog, Effect::turtle, Effect::delay}) {
        EXPECT_FALSE(panel->menuGroup(effect)->isEnabled());
        click(panel->toggle(effect));
    }
    EXPECT_TRUE(rows[1]->isActive());
    EXPECT_TRUE(panel->menuGroup(Effect::delay)->isEnabled());
    EXPECT_EQ(panel->toggle(Effect::delay)->geometry(), switchPlace);
    // "Intensité :" and "Durée :" differ in width; the menus after them line up all the same.
    const auto menuLeft = [panel](Effect effect) {
        return panel->menuButton(effect)->mapTo(panel, QPoint()).x();
    };
    EXPECT_EQ(menuLeft(Effect::fog), menuLeft(Effect::delay));
    EXPECT_EQ(menuLeft(Effect::turtle), menuLeft(Effect::delay));
    EXPECT_EQ(settings.settings().redListConfigs[1].isDelayEnabled, true);
    EXPECT_EQ(engine.calls.back(), "reevaluateCurrentApp");
    picture(*page, "contrepoids-targets");

    open(*page, rows[2]);
    EXPECT_TRUE(section->addRow(ExceptionTab::apps)->isSeparatorHidden());
    section->selectedTab.set(ExceptionTab::websites);
    section->selectedTab.set(ExceptionTab::apps);
    EXPECT_TRUE(rows[1]->panel() && rows[2]->panel()) << "tabs keep the rows open";

    // The cross removes at once and opens nothing.
    const auto open = section->expandedItemIds();
    click(rows[0]->removeButton());
    EXPECT_EQ(section->rows(ExceptionTab::apps).size(), 2u);
    EXPECT_EQ(section->expandedItemIds(), open);
    EXPECT_EQ(settings.settings().redListConfigs.size(), 3u);
}

// Every name the spacing debug draws on `root`: outlines, paddings and spacings.
QSet<QString> debugNames(QWidget& root) {
    QSet<QString> names;
    for (const auto* overlay : root.findChildren<DebugDimensionOverlay*>()) {
        names << overlay->label();
    }
    for (const auto* spacing : root.findChildren<DebugSpacingIndicator*>()) {
        names << spacing->name();
    }
    for (const auto* widget : root.findChildren<QWidget*>()) {
        if (widget->objectName().startsWith("padding:")) {
            names << widget->objectName().mid(8);
        }
    }
    return names;
}

TEST_F(FrictionEffectsViewTest, SpacingDebugNamesEveryPartOfTheRowsAndPanel) {
    auto target = test::makeTarget(FrictionTargetType::app, "org.example.mail");
    target.isFogEnabled = true;
    settings.settings().redListConfigs = {target};
    SpacingDebugManager spacing(loop.clock());
    spacing.toggleOverlays();
    auto page = openPage();
    open(*page, page->targets()->rows(ExceptionTab::apps)[0]);
    const QSet<QString> expected{"iconTextGroup",  "textContent",  "p1 (titre↔desc)", "row.padH",
                                 "Spacer",         "btn.padH",     "btn.padV",        "row.padV",
                                 "p3 (icon↔text)", "panel.padTop", "panel.padBottom", "panel.padL",
                                 "panel.padR"};
    EXPECT_EQ(expected - debugNames(*page), QSet<QString>());
    picture(*page, "contrepoids-spacing-debug");
    spacing.toggleOverlays();
}

TEST_F(FrictionEffectsViewTest, ASiteShowsItsFaviconOnceItArrives) {
    settings.settings().redListConfigs = {test::makeTarget(FrictionTargetType::website, "a.test")};
    auto page = openPage();
    page->targets()->selectedTab.set(ExceptionTab::websites);
    auto* row = page->targets()->rows(ExceptionTab::websites)[0];
    EXPECT_EQ(row->fallbackSymbol(), "globe");
    ASSERT_FALSE(fetcher.requests.empty());
    EXPECT_FALSE(row->cachedIcon());
    fetcher.answer(fetcher.requests.size() - 1,
                   {std::nullopt, 200, test::FakeFaviconFetcher::png(Qt::red), "image/png"});
    EXPECT_TRUE(row->cachedIcon());
}

TEST_F(FrictionEffectsViewTest, EachOptionListAndEditorOfThePanel) {
    auto target = test::makeTarget(FrictionTargetType::app, "org.example.mail");
    target.targetDisplayName = "Courrier";
    target.isFogEnabled = target.isTurtleEnabled = target.isDelayEnabled = true;
    settings.settings().redListConfigs = {target};
    auto page = openPage();
    auto* row = page->targets()->rows(ExceptionTab::apps)[0];
    open(*page, row);
    RedListConfigPanel* panel = row->panel();
    ASSERT_TRUE(panel);
    const auto stored = [this] { return settings.settings().redListConfigs[0]; };

    const std::vector<std::pair<Effect, QStringList>> menus{
        {Effect::fog, {"Légère", "Moyenne", "Forte", "Intense", "Personnalisée"}},
        {Effect::turtle, {"Légère", "Moyenne", "Forte", "Extrême", "Personnalisée"}},
        {Effect::delay, {"10s", "30s", "45s", "1min", "1h", "Personnalisé"}},
    };
    for (const auto& [effect, titles] : menus) {
        const auto options = openOptions(*panel, effect);
        QStringList shown;
        for (const auto* option : options) {
            shown << option->title();
        }
        EXPECT_EQ(shown, titles);
        EXPECT_TRUE(options[1]->isSelected()) << "medium, 30s";
        EXPECT_TRUE(
            test::saveArtefact(*panel->optionList(effect),
                               "contrepoids-options-" + QString::fromUtf8(rawValue(effect))));
        click(options.back());
        EXPECT_FALSE(panel->optionList(effect));
        EXPECT_TRUE(panel->editor(effect));
        panel->model().cancelEditor(effect);
        // The sheet's window goes, and the main window is active again.
        test::processEventsFor(50);
    }
    // Fog and turtle are custom at once; the delay waits for its editor.
    EXPECT_EQ(stored().fogIntensity, FogIntensity::custom);
    EXPECT_EQ(stored().turtleIntensity, TurtleIntensity::custom);
    EXPECT_EQ(stored().delayDuration, DelayDuration::preset30s());
    EXPECT_TRUE(panel->configureButton(Effect::fog)->isVisible());
    EXPECT_FALSE(panel->configureButton(Effect::delay)->isVisible());
}

TEST_F(FrictionEffectsViewTest, TheEditorsApplyOrCancelTheirValues) {
    auto target = test::makeTarget(FrictionTargetType::app, "org.example.mail");
    target.isFogEnabled = target.isTurtleEnabled = target.isDelayEnabled = true;
    target.fogIntensity = FogIntensity::custom;
    target.turtleIntensity = TurtleIntensity::custom;
    target.customTurtleMouseFactor = 12.5;
    settings.settings().redListConfigs = {target};
    auto page = openPage();
    auto* row = page->targets()->rows(ExceptionTab::apps)[0];
    open(*page, row);
    RedListConfigPanel* panel = row->panel();
    const auto stored = [this] { return settings.settings().redListConfigs[0]; };

    click(panel->configureButton(Effect::fog));
    auto* fog = qobject_cast<PresetIntensityPopup*>(panel->editor(Effect::fog));
    ASSERT_TRUE(fog);
    EXPECT_EQ(fog->sliders()[0]->value(), 50);
    EXPECT_EQ(fog->dropdown()->label(), "Personnalisée");
    click(fog->dropdown());
    ASSERT_TRUE(fog->presetList());
    EXPECT_TRUE(test::saveArtefact(*fog->presetList(), "contrepoids-fog-presets"));
    click(fog->presetList()->findChildren<DropdownOptionButton*>()[0]);
    EXPECT_EQ(fog->dropdown()->label(), "Légère");
    EXPECT_TRUE(test::saveArtefact(*fog, "contrepoids-editor-fog"));
    // Escape is "Annuler".
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(fog->window(), &escape);
    EXPECT_FALSE(panel->editor(Effect::fog));
    EXPECT_FALSE(stored().customFogClearRadius.has_value());

    click(panel->configureButton(Effect::turtle));
    auto* turtle = qobject_cast<PresetIntensityPopup*>(panel->editor(Effect::turtle));
    ASSERT_TRUE(turtle);
    EXPECT_EQ(turtle->model().working(), (std::vector<double>{12.5, 4.0}));
    EXPECT_TRUE(test::saveArtefact(*turtle, "contrepoids-editor-turtle"));
    click(turtle->frame()->applyButton());
    EXPECT_FALSE(panel->editor(Effect::turtle));
    EXPECT_EQ(stored().customTurtleMouseFactor, 12.5);
    EXPECT_EQ(stored().customTurtleScrollFactor, 4.0);

    click(openOptions(*panel, Effect::delay).back());
    auto* delay = qobject_cast<DelayCustomDurationPopup*>(panel->editor(Effect::delay));
    ASSERT_TRUE(delay);
    EXPECT_EQ(delay->model().displayText(), "120");
    for (const auto unit : {DelayTimeUnit::seconds, DelayTimeUnit::minutes, DelayTimeUnit::hours}) {
        click(delay->unitButton(unit));
        EXPECT_TRUE(test::saveArtefact(
            *delay, "contrepoids-editor-delay-" + QString::fromUtf8(rawValue(unit))));
    }
    EXPECT_FALSE(delay->decrementButton()->isEnabled());
    click(delay->incrementButton());
    click(delay->valueCell());
    ASSERT_TRUE(test::processEventsUntil([&] { return delay->field()->hasFocus(); }));
    click(delay->frame()->applyButton());
    EXPECT_EQ(stored().delayDuration, DelayDuration::custom(7200));
    EXPECT_EQ(panel->menuButton(Effect::delay)->label(), "Personnalisé");
}

TEST(QtDelayTestPanelTest, ItCoversTheMainWindowAndHandsItsButtonsOver) {
    Animations::setJumpToEnd(true);
    QWidget window;
    window.setGeometry(120, 80, 970, 670);
    auto* page = new QWidget(&window);
    QtDelayTestPanel panel(*page, nullptr);
    EXPECT_FALSE(panel.show(3, {}, {})) << "no window on screen";

    window.show();
    int closed = 0;
    ASSERT_TRUE(panel.show(
        3, [&] { ++closed; }, [] {}));
    QWidget* shown = panel.window();
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->geometry(), window.geometry());
    EXPECT_TRUE(shown->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(shown->windowFlags() & Qt::WindowDoesNotAcceptFocus);
    auto* view = shown->findChild<DelayAccessOverlayView*>();
    ASSERT_TRUE(view);
    EXPECT_EQ(view->subtitle(), "avant l'accès à Olvane");
    panel.update(0);
    EXPECT_EQ(view->timeText(), "0 seconde");
    EXPECT_TRUE(test::saveArtefact(*shown, "contrepoids-delay-test-panel"));
    test::clickAt(view->closeButton(), QPoint(10, 10));
    ASSERT_TRUE(test::processEventsUntil([&] { return closed == 1; }));

    QPointer<QWidget> gone = shown;
    panel.close();
    EXPECT_FALSE(panel.window());
    EXPECT_TRUE(test::processEventsUntil([&] { return !gone; }));
    Animations::setJumpToEnd(false);
}

}  // namespace
}  // namespace olvane::ui
