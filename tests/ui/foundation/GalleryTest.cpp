// Pictures of every control in each of its states, for people to look at.
#include <gtest/gtest.h>

#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/UiTestSupport.h"
#include "ui/foundation/Animations.h"
#include "ui/foundation/CustomIntensityPopup.h"
#include "ui/foundation/DebugPaddingOverlay.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/DropdownOptionButton.h"
#include "ui/foundation/HoverableIconButton.h"
#include "ui/foundation/InfoTooltip.h"
#include "ui/foundation/KeyCap.h"
#include "ui/foundation/MainCardToggle.h"
#include "ui/foundation/OlvaneSegmentedPicker.h"
#include "ui/foundation/OlvaneToggleStyle.h"
#include "ui/foundation/PageFooter.h"
#include "ui/foundation/SectionCard.h"
#include "ui/foundation/SectionCardFlush.h"
#include "ui/foundation/SectionHeaderLabel.h"
#include "ui/foundation/SpacingDebugManager.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/foundation/ThemedSlider.h"
#include "ui/foundation/ToggleSwitchView.h"

namespace olvane::ui {
namespace {

class GalleryTest : public ::testing::Test {
  protected:
    GalleryTest() {
        Animations::setJumpToEnd(true);
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    }
    ~GalleryTest() override {
        Animations::setJumpToEnd(false);
        QLocale::setDefault(QLocale::c());
    }

    static QWidget* row(const QString& caption, std::initializer_list<QWidget*> items) {
        auto* line = new QWidget();
        auto* layout = new QHBoxLayout(line);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(16);
        auto* name = themedLabel(caption, Theme::font(12, FontWeight::regular));
        name->setFixedWidth(150);
        layout->addWidget(name);
        for (QWidget* item : items) {
            layout->addWidget(item);
        }
        layout->addStretch(1);
        return line;
    }

    static QWidget* switchView(bool on, bool disabled, bool inverted) {
        auto* view = new ToggleSwitchView(on, disabled, inverted, ToggleGeometry());
        // The inverted scheme belongs on black.
        return inverted ? onBlack(view) : view;
    }

    static QWidget* onBlack(QWidget* view) {
        auto* dark = new QWidget();
        dark->setAutoFillBackground(true);
        QPalette palette = dark->palette();
        palette.setColor(QPalette::Window, Theme::black());
        dark->setPalette(palette);
        auto* layout = new QHBoxLayout(dark);
        layout->setContentsMargins(6, 4, 6, 4);
        layout->addWidget(view);
        return dark;
    }

    static void whiteSheet(QWidget& sheet) {
        sheet.setAutoFillBackground(true);
        QPalette palette = sheet.palette();
        palette.setColor(QPalette::Window, Theme::white());
        sheet.setPalette(palette);
    }
};

TEST_F(GalleryTest, EveryControlInEachState) {
    QWidget sheet;
    whiteSheet(sheet);
    auto* column = new QVBoxLayout(&sheet);
    column->setContentsMargins(24, 16, 24, 0);
    column->setSpacing(0);
    column->addWidget(sectionHeaderLabel(QStringLiteral("Commandes générales")), 0, Qt::AlignLeft);

    auto* controls = new QWidget();
    auto* rows = new QVBoxLayout(controls);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(14);
    auto* on = new OlvaneToggleStyle();
    on->setChecked(true);
    rows->addWidget(row(QStringLiteral("Interrupteur"), {on, new OlvaneToggleStyle()}));
    rows->addWidget(row(QStringLiteral("Carte (×1,5)"),
                        {onBlack(new MainCardToggle(true, 1.5)), new MainCardToggle(false, 1.5)}));
    rows->addWidget(row(QStringLiteral("Effet : normal"),
                        {switchView(true, false, false), switchView(false, false, false),
                         switchView(true, true, false), switchView(false, true, false)}));
    rows->addWidget(row(QStringLiteral("Effet : inversé"),
                        {switchView(true, false, true), switchView(false, false, true),
                         switchView(true, true, true), switchView(false, true, true)}));
    rows->addWidget(row(QStringLiteral("Bouton symbole"),
                        {new HoverableIconButton("xmark", {}),
                         new HoverableIconButton("xmark", {}, Theme::black(), 14, true),
                         new HoverableIconButton("magnifyingglass", {}, Theme::black(), 18)}));
    rows->addWidget(row(QStringLiteral("Touches"),
                        {new KeyCap(QStringLiteral("⌃ Ctrl")), new KeyCap(QStringLiteral("Alt")),
                         new KeyCap(QStringLiteral("Super")), new KeyCap(QStringLiteral("A")),
                         new InfoTooltip(QStringLiteral("Aide"), 16)}));
    const auto label = [](int level) {
        return std::array{QStringLiteral("Doux"), QStringLiteral("Équilibré"),
                          QStringLiteral("Sérieux")}[static_cast<std::size_t>(level)];
    };
    rows->addWidget(row(QStringLiteral("Choix : aucun"),
                        {new OlvaneSegmentedPicker<int>({0, 1, 2}, label, 7, {})}));
    rows->addWidget(row(QStringLiteral("Choix : le 2ᵉ"),
                        {new OlvaneSegmentedPicker<int>({0, 1, 2}, label, 1, {})}));
    rows->addWidget(
        row(QStringLiteral("Choix unique"), {new OlvaneSegmentedPicker<int>({0}, label, 0, {})}));
    auto* editing =
        new ThemedSlider(QStringLiteral("Délai"), 45, {1, 3600}, 1, QStringLiteral("s"));
    rows->addWidget(new ThemedSlider(QStringLiteral("Opacité de la buée"), 8.5, {0.1, 60}, 0.1,
                                     QStringLiteral("%"), 1));
    rows->addWidget(editing);
    rows->addWidget(new ThemedSlider(QStringLiteral("Facteur"), 500, {20, 500}));
    column->addWidget(new SectionCard(controls));

    column->addWidget(sectionHeaderLabel(QStringLiteral("Liste et carte sans marge")), 0,
                      Qt::AlignLeft);
    auto* options = new QWidget();
    auto* list = new QVBoxLayout(options);
    list->setContentsMargins(0, 0, 0, 0);
    list->setSpacing(0);
    list->addWidget(new DropdownOptionButton(QStringLiteral("Léger"), false, {}));
    list->addWidget(new DropdownOptionButton(QStringLiteral("Moyen"), true, {}));
    list->addWidget(new DropdownOptionButton(QStringLiteral("Intense"), false, {}));
    column->addWidget(new SectionCardFlush(options));
    column->addWidget(new PageFooter());

    sheet.resize(720, sheet.sizeHint().height());
    sheet.show();
    editing->valueBox()->setFocus();
    test::clickAt(editing->valueBox(), QPoint(3, 3));
    EXPECT_TRUE(test::saveArtefact(sheet, "controls-gallery"));
}

TEST_F(GalleryTest, ThePopupFrameAndTheTooltip) {
    QWidget sheet;
    whiteSheet(sheet);
    auto* layout = new QVBoxLayout(&sheet);
    auto* editor = new QWidget();
    auto* sliders = new QVBoxLayout(editor);
    sliders->setContentsMargins(0, 0, 0, 0);
    sliders->setSpacing(16);
    sliders->addWidget(
        new ThemedSlider(QStringLiteral("Opacité"), 40, {0, 100}, 1, QStringLiteral("%")));
    sliders->addWidget(new ThemedSlider(QStringLiteral("Flou"), 12.5, {0, 60}, 0.5, {}, 1));
    layout->addWidget(
        new CustomIntensityPopup(QStringLiteral("Buée personnalisée"), editor, {}, {}));
    auto* tip = new InfoTooltip(
        QStringLiteral("La buée recouvre les fenêtres de l’application ciblée et s’efface "
                       "localement sous le passage de la souris, puis revient."),
        16);
    layout->addWidget(tip, 0, Qt::AlignLeft);
    sheet.show();
    EXPECT_TRUE(test::saveArtefact(sheet, "controls-popup"));
    test::hover(tip, true);
    ASSERT_NE(tip->popover(), nullptr);
    EXPECT_TRUE(test::saveArtefact(*tip->popover(), "controls-tooltip"));
}

TEST_F(GalleryTest, PaddingBandsWithTheModeOn) {
    QWidget sheet;
    whiteSheet(sheet);
    auto* layout = new QVBoxLayout(&sheet);
    auto* text = themedLabel(QStringLiteral("Contenu"), Theme::fontRegular14());
    layout->addWidget(
        new DebugPaddingOverlay(text, QMarginsF(16, 24, 8, 12), QStringLiteral("rowPadding")));
    layout->addWidget(new DebugSpacingIndicator(QStringLiteral("gap"), 15.9));
    SpacingDebugManager::shared().toggleOverlays();
    sheet.resize(300, 140);
    sheet.show();
    EXPECT_TRUE(test::saveArtefact(sheet, "spacing-debug-padding"));
    SpacingDebugManager::shared().toggleOverlays();
}

}  // namespace
}  // namespace olvane::ui
