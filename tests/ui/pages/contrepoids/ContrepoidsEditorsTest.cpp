// The rules of a target's configuration panel and of its three editors, without widgets.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ui/pages/contrepoids/DelayEditorModel.h"
#include "ui/pages/contrepoids/PresetEditorModel.h"
#include "ui/pages/contrepoids/RedListConfigPanelModel.h"

namespace olvane::ui {
namespace {

using Effect = FrictionEffectType;

class PanelModelTest : public ::testing::Test {
  protected:
    PanelModelTest() {
        target.id = Uuid::random();
        target.targetDisplayName = "Calculatrice";
    }

    // The panel as the row makes it: each update is stored and handed back.
    RedListConfig target;
    std::vector<RedListConfig> updates;
    RedListConfigPanelModel panel{target, [this](const RedListConfig& changed) {
                                      updates.push_back(changed);
                                      panel.config.set(changed);
                                  }};
};

TEST_F(PanelModelTest, SwitchingAnEffectKeepsItsChoiceForWhenItComesBack) {
    panel.chooseOption(Effect::delay, 4);
    panel.setEnabled(Effect::delay, true);
    panel.setEnabled(Effect::delay, false);
    panel.setEnabled(Effect::delay, true);
    EXPECT_EQ(panel.config().delayDuration, DelayDuration::preset1h());
    EXPECT_EQ(panel.currentLabel(Effect::delay), "1h");
    EXPECT_EQ(updates.size(), 4u);
    EXPECT_FALSE(panel.pickerFlag(Effect::delay)());
}

TEST_F(PanelModelTest, CustomFogAndTurtleAreSavedAtOnceAndTheirValuesOutliveAPreset) {
    // On a target without stored values the editors start from the unstored constants, and
    // cancelling leaves the intensity custom with nothing stored.
    panel.chooseOption(Effect::turtle, 4);
    EXPECT_EQ(panel.config().turtleIntensity, TurtleIntensity::custom);
    EXPECT_TRUE(panel.editorFlag(Effect::turtle)());
    EXPECT_EQ(panel.tempTurtle, (TurtleFactors{4.0, 4.0}));
    panel.cancelEditor(Effect::turtle);
    EXPECT_FALSE(panel.config().customTurtleMouseFactor.has_value());
    EXPECT_FALSE(panel.editorFlag(Effect::turtle)());

    panel.chooseOption(Effect::fog, 4);
    EXPECT_EQ(panel.tempFog, (FogSettings{50, 1.0, 0.99}));
    panel.tempFog = {200, 3.5, 0.5};
    panel.applyEditor(Effect::fog);
    panel.chooseOption(Effect::fog, 2);
    EXPECT_EQ(panel.config().fogIntensity, FogIntensity::strong);
    EXPECT_FALSE(panel.isCustom(Effect::fog)) << "no more \"Configurer\"";
    EXPECT_EQ(panel.config().customFogClearRadius, 200);
    panel.tempFog = {};
    panel.chooseOption(Effect::fog, 4);
    EXPECT_EQ(panel.tempFog, (FogSettings{200, 3.5, 0.5})) << "the stored values come back";
    EXPECT_TRUE(panel.isCustom(Effect::fog));
}

TEST_F(PanelModelTest, ACustomDelayIsOnlySavedOnApplyAndNamesItselfPersonnalise) {
    panel.chooseOption(Effect::delay, 5);
    EXPECT_TRUE(updates.empty());
    EXPECT_EQ(panel.tempDelaySeconds, 120);
    panel.cancelEditor(Effect::delay);
    EXPECT_EQ(panel.config().delayDuration, DelayDuration::preset30s());

    panel.chooseOption(Effect::delay, 5);
    panel.tempDelaySeconds = 90;
    panel.tempDelayUnit = DelayTimeUnit::minutes;
    panel.applyEditor(Effect::delay);
    EXPECT_EQ(panel.config().delayDuration, DelayDuration::custom(90));
    EXPECT_EQ(panel.currentLabel(Effect::delay), "Personnalisé");
    const auto options = panel.options(Effect::delay);
    ASSERT_EQ(options.size(), 6u);
    for (std::size_t i = 0; i < options.size(); ++i) {
        EXPECT_EQ(options[i].isSelected, i == 5) << options[i].title;
    }
    panel.configure(Effect::delay);
    EXPECT_EQ(panel.tempDelaySeconds, 90);
    EXPECT_EQ(panel.tempDelayUnit, DelayTimeUnit::seconds);
}

TEST(PresetEditorModelTest, APresetMatchesOnlyExactlyAndApplyWritesOnlyFiniteValues) {
    FogSettings fog{150, 8.0, 0.98};
    const auto fogEditor = PresetEditorModel::fog(fog);
    EXPECT_EQ(fogEditor->dropdownLabel(), "Personnalisée") << "before it loads: 50, 1.0, 0.99";
    fogEditor->loadValues();
    EXPECT_EQ(fogEditor->dropdownLabel(), "Moyenne");
    fogEditor->setWorkingValue(2, 0.97);
    EXPECT_EQ(fogEditor->dropdownLabel(), "Personnalisée");
    fogEditor->setWorkingValue(2, std::nextafter(0.98, 1.0));
    EXPECT_FALSE(fogEditor->matchingPreset().has_value());
    fogEditor->selectPreset(2);
    EXPECT_EQ(fogEditor->dropdownLabel(), "Forte");
    EXPECT_EQ(fog, (FogSettings{150, 8.0, 0.98})) << "nothing reaches the caller before apply";
    ASSERT_TRUE(fogEditor->applyValues());
    EXPECT_EQ(fog, (FogSettings{120, 4.0, 0.99}));

    TurtleFactors turtle{8.0, 1.5};
    const auto turtleEditor = PresetEditorModel::turtle(turtle);
    turtleEditor->loadValues();
    EXPECT_EQ(turtleEditor->dropdownLabel(), "Personnalisée");
    turtleEditor->selectPreset(3);
    EXPECT_EQ(turtleEditor->dropdownLabel(), "Extrême");
    for (const double bad :
         {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        turtleEditor->setWorkingValue(1, bad);
        EXPECT_FALSE(turtleEditor->applyValues());
        EXPECT_EQ(turtle, (TurtleFactors{8.0, 1.5}));
    }
}

class DelayEditorTest : public ::testing::Test {
  protected:
    std::int64_t seconds = 120;
    DelayTimeUnit unit = DelayTimeUnit::seconds;
    DelayEditorModel editor{seconds, unit};
};

TEST_F(DelayEditorTest, OpeningShowsTheSecondsInAUnitThatHasThem) {
    struct Case {
        std::int64_t seconds;
        DelayTimeUnit unit;
        QString text;
        DelayTimeUnit shownUnit;
        std::int64_t storedSeconds;
    };
    const std::vector<Case> cases{
        {120, DelayTimeUnit::seconds, "120", DelayTimeUnit::seconds, 120},
        {120, DelayTimeUnit::minutes, "2", DelayTimeUnit::minutes, 120},
        {5400, DelayTimeUnit::hours, "1", DelayTimeUnit::hours, 5400},
        {45, DelayTimeUnit::minutes, "45", DelayTimeUnit::seconds, 45},
        {1800, DelayTimeUnit::hours, "30", DelayTimeUnit::minutes, 1800},
        {1830, DelayTimeUnit::hours, "30", DelayTimeUnit::minutes, 1800},
        {0, DelayTimeUnit::seconds, "1", DelayTimeUnit::seconds, 1},
        // Stored seconds of any size reach the arithmetic as five digits at most.
        {1'000'000'000'000'000'000, DelayTimeUnit::seconds, "10000", DelayTimeUnit::seconds,
         1'000'000'000'000'000'000},
    };
    for (const auto& c : cases) {
        seconds = c.seconds;
        unit = c.unit;
        editor.appear();
        EXPECT_EQ(editor.inputText(), c.text) << c.seconds;
        EXPECT_EQ(unit, c.shownUnit) << c.seconds;
        EXPECT_EQ(seconds, c.storedSeconds) << c.seconds;
    }
    editor.commitInput();
    EXPECT_EQ(seconds, 10'000);
}

TEST_F(DelayEditorTest, TheFieldKeepsFiveNumbersOfAnyScript) {
    struct Case {
        QString typed;
        QString kept;
        std::int64_t parsed;
    };
    const std::vector<Case> cases{
        {"1a2b", "12", 12},
        {"1234567", "12345", 12345},
        {"0", "1", 1},
        {"00", "00", 0},
        {"-5", "5", 5},
        {QStringLiteral("2²"), QStringLiteral("2²"), 1},
        {QStringLiteral("½"), QStringLiteral("½"), 1},
        {QStringLiteral("١٢"), QStringLiteral("١٢"), 1},
        // A digit outside the first plane is one character, not two halves.
        {QStringLiteral("𝟗12345"), QStringLiteral("𝟗1234"), 1},
        {QString(QChar(0xD835)) + "7", "7", 7},
    };
    editor.startEditing();
    for (const auto& c : cases) {
        editor.setInputText(c.typed);
        EXPECT_EQ(editor.inputText(), c.kept) << c.typed.toStdString();
        EXPECT_EQ(editor.parsedInputValue(), c.parsed) << c.typed.toStdString();
    }
    editor.setInputText("00");
    editor.commitInput();
    EXPECT_EQ(seconds, 1);
}

TEST_F(DelayEditorTest, StepsAndCommitsStayWithinADay) {
    unit = DelayTimeUnit::hours;
    editor.setValue(24);
    EXPECT_EQ(seconds, 86'400);
    EXPECT_FALSE(editor.canIncrement());
    editor.setValue(23);
    editor.increment();
    EXPECT_EQ(editor.inputText(), "24");
    EXPECT_EQ(seconds, 86'400);

    unit = DelayTimeUnit::minutes;
    editor.setInputText("2000");
    editor.commitInput();
    EXPECT_EQ(seconds, 86'400);
    EXPECT_EQ(editor.inputText(), "1440");
    editor.setValue(99'999);
    EXPECT_EQ(editor.inputText(), "1440");

    editor.setValue(2);
    EXPECT_TRUE(editor.canDecrement());
    editor.decrement();
    EXPECT_EQ(editor.inputText(), "1");
    EXPECT_EQ(seconds, 60);
    EXPECT_FALSE(editor.canDecrement());
}

TEST_F(DelayEditorTest, AUnitChangeCommitsInTheOldUnitAndRoundsOnlyAtTheNextCommit) {
    editor.setInputText("90");
    editor.unitChanged(DelayTimeUnit::minutes);
    EXPECT_EQ(editor.inputText(), "1");
    EXPECT_EQ(seconds, 90);
    EXPECT_EQ(editor.accessibilityValue(), "1 minutes");
    editor.commitInput();
    EXPECT_EQ(seconds, 60);

    for (const auto& [each, perUnit] : {std::pair{DelayTimeUnit::seconds, 1},
                                        {DelayTimeUnit::minutes, 60},
                                        {DelayTimeUnit::hours, 3600}}) {
        unit = each;
        editor.setInputText("");
        EXPECT_EQ(editor.displayText(), QString::number(seconds / perUnit));
        editor.commitInput();
        EXPECT_EQ(seconds, perUnit) << "an empty field is one unit";
    }
}

}  // namespace
}  // namespace olvane::ui
