#include <gtest/gtest.h>

#include <QDialog>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>

#include "platform/sim/ManualRunLoop.h"
#include "ui/UiTestSupport.h"
#include "ui/foundation/LabelButton.h"
#include "ui/foundation/SpacingDebugManager.h"
#include "ui/foundation/ThemedTextField.h"
#include "ui/foundation/VersionRow.h"
#include "ui/pages/reglages/SettingsView.h"
#include "ui/pages/reglages/UninstallConfirmationSheet.h"
#include "ui/pages/reglages/UninstallPhrase.h"

namespace olvane::ui {
namespace {

class SettingsTest : public ::testing::Test {
  protected:
    SettingsTest() {
        test::paintWhite(view);
        view.resize(880, view.sizeHint().height());
        view.show();
    }
    ~SettingsTest() override {
        if (SpacingDebugManager::overlaysVisible()) {
            spacingDebug.toggleOverlays();
        }
    }

    UninstallConfirmationSheet& openSheet() {
        view.uninstallButton()->click();
        EXPECT_TRUE(view.showUninstallSheet.get());
        return *view.sheet();
    }

    static void press(QWidget* widget, Qt::Key key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    }

    platform::sim::ManualRunLoop loop;
    SpacingDebugManager spacingDebug{loop.clock()};
    AppState appState;
    int uninstalls = 0;
    SettingsView view{{appState, spacingDebug, loop, [this] { ++uninstalls; }}};
};

TEST_F(SettingsTest, OnlyTapsOnTheVersionNumberSwitchTheSpacingDebug) {
    VersionRow* row = view.versionRow();
    QLabel* version = row->findChildren<QLabel*>().front();
    ASSERT_EQ(version->text(), "Version");
    ASSERT_EQ(row->versionNumber()->text(), "1.0.0");
    for (int i = 0; i < 7; ++i) {
        test::clickAt(version, QPoint(2, 2));
        test::clickAt(row, QPoint(row->width() / 2, 2));  // between the two texts
    }
    EXPECT_EQ(spacingDebug.versionTapCount(), 0);

    for (int i = 0; i < 7; ++i) {
        loop.advanceSeconds(0.5);
        test::clickAt(row->versionNumber(), QPoint(2, 2));
    }
    EXPECT_TRUE(SpacingDebugManager::overlaysVisible());
}

TEST_F(SettingsTest, TheUninstallButtonOpensTheSheetOnlyWhileNoUninstallRuns) {
    EXPECT_TRUE(test::saveArtefact(view, "reglages"));
    UninstallConfirmationSheet& sheet = openSheet();
    EXPECT_TRUE(sheet.field()->text().isEmpty());
    sheet.cancelButton()->click();
    EXPECT_FALSE(view.showUninstallSheet.get());
    EXPECT_EQ(view.sheet(), nullptr);

    appState.isUninstalling.set(true);
    EXPECT_EQ(view.uninstallButton()->opacity(), 0.5);
    test::clickAt(view.uninstallButton(), QPoint(4, 4));
    EXPECT_FALSE(view.showUninstallSheet.get());
}

// Whether the field draws anything where only the placeholder reaches.
bool drawsPlaceholder(QWidget* field) {
    const QImage image = field->grab().toImage();
    for (int x = 60; x < std::min(image.width(), 200); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            if (qGray(image.pixel(x, y)) < 128) {
                return true;
            }
        }
    }
    return false;
}

TEST_F(SettingsTest, TheSheetFocusesItsFieldAndShowsThePlaceholderOnlyWhileEmpty) {
    UninstallConfirmationSheet& sheet = openSheet();
    QWidget* dialog = sheet.window();
    EXPECT_EQ(sheet.width(), UninstallConfirmationSheet::kWidth);
    EXPECT_NE(dialog->focusWidget(), sheet.field());
    loop.advanceSeconds(UninstallConfirmationSheet::kFocusDelaySeconds);
    EXPECT_EQ(dialog->focusWidget(), sheet.field());

    EXPECT_EQ(sheet.field()->placeholderText(), UninstallPhrase::requiredPhrase());
    EXPECT_TRUE(drawsPlaceholder(sheet.field()));
    EXPECT_TRUE(test::saveArtefact(*dialog, "uninstall-sheet-empty"));
    sheet.field()->setText(QStringLiteral("O"));
    EXPECT_FALSE(drawsPlaceholder(sheet.field()));
    sheet.field()->clear();
    EXPECT_TRUE(drawsPlaceholder(sheet.field()));
}

TEST_F(SettingsTest, EscapeClosesTheSheetAndStartsNothing) {
    UninstallConfirmationSheet& sheet = openSheet();
    sheet.field()->setText(UninstallPhrase::requiredPhrase());
    press(sheet.field(), Qt::Key_Escape);
    EXPECT_FALSE(view.showUninstallSheet.get());
    EXPECT_FALSE(appState.isUninstalling.get());
    loop.runPending();
    EXPECT_EQ(uninstalls, 0);
    EXPECT_TRUE(view.uninstallButton()->isEnabled());
}

TEST_F(SettingsTest, ReturnConfirmsOnlyAMatchingPhraseAndTheUninstallStartsOnceTheSheetIsGone) {
    QPointer<UninstallConfirmationSheet> sheet = &openSheet();
    sheet->field()->setText(QStringLiteral("oui je veux desinstaller"));
    EXPECT_FALSE(sheet->uninstallButton()->isEnabled());
    EXPECT_EQ(sheet->uninstallButton()->opacity(), 0.5);
    EXPECT_EQ(sheet->uninstallButton()->accessibleDescription(),
              "Désactivé. Recopie d'abord la phrase ci-dessus.");
    press(sheet->field(), Qt::Key_Return);
    sheet->confirmUninstall();
    EXPECT_TRUE(view.showUninstallSheet.get());
    EXPECT_FALSE(appState.isUninstalling.get());

    sheet->field()->setText(QStringLiteral("OUI JE VEUX DESINSTALLER OLVANE !"));
    EXPECT_TRUE(sheet->uninstallButton()->isEnabled());
    EXPECT_TRUE(test::saveArtefact(*sheet->window(), "uninstall-sheet-matching"));
    bool sheetOpenWhenFlagged = false;
    auto observation = appState.isUninstalling.observe(
        [&](bool) { sheetOpenWhenFlagged = view.showUninstallSheet.get(); });
    press(sheet->field(), Qt::Key_Return);
    EXPECT_TRUE(appState.isUninstalling.get());
    EXPECT_TRUE(sheetOpenWhenFlagged);  // the flag first, then the sheet closes
    EXPECT_FALSE(view.showUninstallSheet.get());
    EXPECT_EQ(view.sheet(), nullptr);
    EXPECT_EQ(uninstalls, 0);
    loop.runPending();
    EXPECT_EQ(uninstalls, 1);
    EXPECT_TRUE(test::processEventsUntil([&] { return sheet.isNull(); }));
    EXPECT_FALSE(view.uninstallButton()->isEnabled());
}

}  // namespace
}  // namespace olvane::ui
