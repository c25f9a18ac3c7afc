// The page's model over the program's own friction services, on simulated windows, pointer
// and applications: one run of each test, and a custom turtle chosen then cancelled.
#include <gtest/gtest.h>

#include "ui/SimulatedProgram.h"
#include "ui/pages/contrepoids/ContrepoidsFixture.h"
#include "ui/pages/contrepoids/PresetEditorModel.h"
#include "ui/pages/contrepoids/RedListConfigPanelModel.h"
#include "ui/pages/contrepoids/ServicesFrictionEngine.h"

namespace olvane::test {
namespace {

constexpr const char* kEditor = "org.gnome.TextEditor";
constexpr pid_t kEditorPid = 100;

class ContrepoidsOverTheProgramTest : public ::testing::Test {
  protected:
    ContrepoidsOverTheProgramTest() {
        program.eventTap.setDisplays({{0, 0, 1440, 900}});
        program.services.frictionEffects().findOwnWindow = [] {
            return std::optional<OwnWindow>(OwnWindow{7, {100, 100, 970, 670}});
        };
    }

    std::unique_ptr<ui::FrictionEffectsViewModel> makeModel() {
        return std::make_unique<ui::FrictionEffectsViewModel>(
            ui::FrictionEffectsViewModel::Collaborators{
                program.loop, program.services.settings(), program.services.rulesFile(), engine,
                favicons, webFeatures, std::make_unique<RecordingPanel>(delayPanel)});
    }
    TurtleEffectService& turtle() { return program.services.turtle(); }

    SimulatedProgram program;
    ui::ServicesFrictionEngine engine{program.services.appMonitoring(),
                                      program.services.frictionEffects(),
                                      program.services.turtle()};
    FakeFaviconFetcher fetcher;
    ui::FaviconService favicons{program.loop, program.loop.clock(), fetcher,
                                program.home.root() / "favicons",
                                QUrl(QStringLiteral("https://favicons.test/s2"))};
    RecordingWebFeatures webFeatures;
    std::shared_ptr<RecordingPanel::Shared> delayPanel = std::make_shared<RecordingPanel::Shared>();
};

TEST_F(ContrepoidsOverTheProgramTest, EachTestShowsItsEffectForItsCountThenRemovesIt) {
    auto model = makeModel();
    model->testFog();
    EXPECT_EQ(program.fogWindows.open().size(), 1u);
    model->testTurtle();
    EXPECT_TRUE(turtle().isActive());
    EXPECT_TRUE(turtle().isTestMode());
    model->testDelay();
    EXPECT_TRUE(delayPanel->shown);
    program.loop.advanceSeconds(6);
    EXPECT_TRUE(program.fogWindows.open().empty());
    EXPECT_FALSE(turtle().isActive());
    EXPECT_FALSE(delayPanel->shown);
}

// Our window is in front during the test: the failsafe is heard there too, and does not keep
// the turtle from a target brought in front afterwards.
TEST_F(ContrepoidsOverTheProgramTest, TheFailsafeEndsTheTurtleTestAndATargetStillGetsItsTurtle) {
    constexpr pid_t kOwnPid = 400;
    program.workspace.launch({platform::Paths::kApplicationId, "OlvaneMac", kOwnPid, 1'000'000.0});
    program.workspace.launch({kEditor, "Éditeur de texte", kEditorPid, 1'000'000.0});
    program.workspace.activate(kOwnPid);
    auto target = makeTarget(FrictionTargetType::app, kEditor);
    target.isTurtleEnabled = true;
    program.services.settings().settings().redListConfigs = {target};
    auto model = makeModel();
    model->testTurtle();
    ASSERT_TRUE(turtle().isTestMode());

    program.keys.pressLocal({TurtleEffectService::kEscapeKeyCode,
                             platform::KeyModifier::Command | platform::KeyModifier::Shift});
    program.loop.runPending();
    EXPECT_FALSE(turtle().isActive());

    program.workspace.activate(kEditorPid);
    program.loop.advanceSeconds(1);
    EXPECT_TRUE(turtle().isActive());
    EXPECT_FALSE(turtle().isTestMode());
    // The test's own end switches it off; the next look at the front brings it back.
    program.loop.advanceSeconds(6);
    EXPECT_FALSE(model->isTurtleTesting());
    EXPECT_TRUE(turtle().isActive());
}

TEST_F(ContrepoidsOverTheProgramTest, ACustomTurtleChosenThenCancelledRunsAtFourAndFour) {
    program.workspace.launch({kEditor, "Éditeur de texte", kEditorPid, 1'000'000.0});
    program.windowServer.addWindow(
        {1, kEditorPid, {0, 0, 800, 600}, platform::kNormalWindowLayer, true});
    program.workspace.activate(kEditorPid);
    auto target = makeTarget(FrictionTargetType::app, kEditor);
    target.isTurtleEnabled = true;
    program.services.settings().settings().redListConfigs = {target};
    auto model = makeModel();
    ASSERT_TRUE(turtle().isActive());
    EXPECT_EQ(turtle().factors(), TurtleFactors::preset(TurtleIntensity::medium));

    ui::RedListConfigPanelModel panelModel(target, [&](const RedListConfig& changed) {
        model->updateConfig(changed);
        panelModel.config.set(*model->target(target.id));
    });
    panelModel.chooseOption(FrictionEffectType::turtle, 4);
    panelModel.cancelEditor(FrictionEffectType::turtle);
    EXPECT_EQ(turtle().factors(), (TurtleFactors{4.0, 4.0}));
    EXPECT_FALSE(model->target(target.id)->customTurtleMouseFactor.has_value());

    // The editor starts where the turtle runs.
    panelModel.configure(FrictionEffectType::turtle);
    const auto editor = ui::PresetEditorModel::turtle(panelModel.tempTurtle);
    editor->loadValues();
    EXPECT_EQ(editor->working(), (std::vector<double>{4.0, 4.0}));
    EXPECT_EQ(editor->dropdownLabel(), "Personnalisée");
}

}  // namespace
}  // namespace olvane::test
