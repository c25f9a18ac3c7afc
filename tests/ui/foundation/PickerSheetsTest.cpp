#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QListView>
#include <QPainter>

#include "platform/sim/CaptureLogSink.h"
#include "platform/sim/ManualRunLoop.h"
#include "support/TempHome.h"
#include "ui/UiTestSupport.h"
#include "ui/foundation/AppPickerRow.h"
#include "ui/foundation/AppPickerSheet.h"
#include "ui/foundation/FixtureCatalogue.h"
#include "ui/foundation/HoverableIconButton.h"
#include "ui/foundation/IconImage.h"
#include "ui/foundation/SheetHeader.h"
#include "ui/foundation/SheetPresenter.h"
#include "ui/foundation/SitePickerSheet.h"
#include "ui/foundation/ThemedTextField.h"
#include "ui/foundation/XdgApplicationCatalogue.h"

namespace olvane::ui {
namespace {

using test::FixtureCatalogue;
using Names = std::vector<std::string>;

void press(QWidget* widget, Qt::Key key) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &down);
}

void type(ThemedTextField* field, const QString& text) {
    field->setText(text);
}

Names namesOf(const std::vector<InstalledApp>& apps) {
    Names names;
    for (const auto& app : apps) {
        names.push_back(app.name);
    }
    return names;
}

class AppPickerSheetTest : public ::testing::Test {
  protected:
    AppPickerSheetTest() {
        using F = FixtureCatalogue;
        const auto red = F::writeIcon(home.root() / "red.png", Qt::red);
        F::write(catalogue.system() / "com.apple.Safari.desktop", F::application("Safari", red));
        F::write(catalogue.system() / "org.gnome.TextEditor.desktop",
                 F::application("Éditeur de texte", red));
        F::write(catalogue.system() / "org.example.Notes.desktop", F::application("Notes"));
        F::write(catalogue.user() / "so.olvane.mac.desktop", F::application("Olvane"));
    }

    std::unique_ptr<AppPickerSheet> openSheet(std::set<std::string> existing = {}) {
        auto sheet = std::make_unique<AppPickerSheet>(
            isPresented, std::move(existing),
            [this](const InstalledApp& app) { chosen.push_back(app.bundleID); }, apps);
        sheet->show();
        return sheet;
    }
    QPoint rowCentre(AppPickerSheet& sheet, int row) {
        return sheet.list()->visualRect(sheet.list()->model()->index(row, 0)).center();
    }

    test::TempHome home;
    platform::sim::ScopedLogCapture log;
    platform::sim::ManualRunLoop loop;
    FixtureCatalogue catalogue{home.root()};
    platform::BackgroundQueue background;
    InstalledAppsService apps{loop, catalogue, background};
    platform::Observable<bool> isPresented{true};
    Names chosen;
};

TEST_F(AppPickerSheetTest, AFirstOpeningShowsTheListWhenTheScanEndsWithoutAKeystroke) {
    auto sheet = openSheet();
    EXPECT_EQ(sheet->content(), AppPickerSheet::Content::loading);
    EXPECT_TRUE(test::saveArtefact(*sheet, "app-picker-loading"));

    loop.runPending();
    EXPECT_EQ(sheet->content(), AppPickerSheet::Content::list);
    EXPECT_EQ(sheet->list()->model()->rowCount(), 3);

    // A second opening finds the catalogue filled and does not scan again.
    sheet = openSheet();
    loop.runPending();
    EXPECT_EQ(sheet->content(), AppPickerSheet::Content::list);
    EXPECT_EQ(log->count("Chargement des apps installées..."), 1u);
}

TEST_F(AppPickerSheetTest, AnEmptyCatalogueSaysSo) {
    std::filesystem::remove_all(catalogue.system());
    std::filesystem::remove_all(catalogue.user());
    auto sheet = openSheet();
    loop.runPending();
    EXPECT_EQ(sheet->content(), AppPickerSheet::Content::empty);
    EXPECT_EQ(sheet->emptyText(), "Aucune application trouvée");
    EXPECT_TRUE(test::saveArtefact(*sheet, "app-picker-empty"));
}

TEST_F(AppPickerSheetTest, SearchNarrowsByNameAndNeverOffersThisApplication) {
    auto sheet = openSheet();
    loop.runPending();
    const std::vector<std::pair<QString, Names>> searches{
        {"", {"Éditeur de texte", "Notes", "Safari"}},
        {"saf", {"Safari"}},
        {"ÉDITEUR", {"Éditeur de texte"}},
        {" ", {"Éditeur de texte"}},
        {"com.", {}},
        {"Olvane", {}},
    };
    for (const auto& [search, expected] : searches) {
        type(sheet->searchField(), search);
        EXPECT_EQ(namesOf(sheet->filteredApps()), expected) << search.toStdString();
    }
    EXPECT_EQ(sheet->content(), AppPickerSheet::Content::empty);
    EXPECT_EQ(sheet->emptyText(), "Aucun résultat pour \"Olvane\"");
    EXPECT_TRUE(test::saveArtefact(*sheet, "app-picker-no-result"));

    // Each opening starts from an empty search.
    sheet->hide();
    sheet->show();
    EXPECT_EQ(sheet->searchText(), "");
}

TEST_F(AppPickerSheetTest, ARowHandsItsApplicationOverAndCloses) {
    auto sheet = openSheet({"com.apple.Safari"});
    loop.runPending();
    test::clickAt(sheet->list()->viewport(), rowCentre(*sheet, 2));
    EXPECT_EQ(chosen, Names{"com.apple.Safari"});
    EXPECT_FALSE(isPresented.get());

    isPresented.set(true);
    sheet->header()->closeButton()->click();
    EXPECT_EQ(chosen, Names{"com.apple.Safari"});
    EXPECT_FALSE(isPresented.get());
}

TEST_F(AppPickerSheetTest, EscapeClosesThePresentedPickerLikeItsCloseButton) {
    QWidget window;
    window.resize(1000, 700);
    window.show();
    isPresented.set(false);
    SheetPresenter presenter(window, isPresented, [this] {
        return std::make_unique<AppPickerSheet>(
            isPresented, std::set<std::string>{},
            [this](const InstalledApp& app) { chosen.push_back(app.bundleID); }, apps);
    });
    isPresented.set(true);
    auto* sheet = dynamic_cast<AppPickerSheet*>(presenter.sheet());
    ASSERT_TRUE(sheet);
    press(sheet->searchField(), Qt::Key_Escape);
    EXPECT_FALSE(isPresented.get());
    EXPECT_FALSE(presenter.sheet());
    EXPECT_TRUE(chosen.empty());
}

TEST(AppPickerRow, DrawsTheIconInGreyAndTheCheckMarkAtTheTrailingEdge) {
    QImage colour(64, 64, QImage::Format_ARGB32);
    colour.fill(QColor(255, 0, 0, 128));
    const QImage grey = IconImage::desaturated(colour);
    const QColor pixel = grey.pixelColor(10, 10);
    EXPECT_EQ(pixel.red(), pixel.green());
    EXPECT_EQ(pixel.green(), pixel.blue());
    EXPECT_EQ(pixel.alpha(), 128);

    const InstalledApp app{"org.example.red", "Rouge", IconImage::fitted(colour, 32)};
    QImage row(400, AppPickerRow::kHeight, QImage::Format_ARGB32);
    for (const bool added : {false, true}) {
        row.fill(Qt::white);
        QPainter painter(&row);
        AppPickerRow(app, added).paint(painter, QRectF(row.rect()), grey, 1.0);
        painter.end();
        const QColor icon = row.pixelColor(16 + 20, AppPickerRow::kHeight / 2);
        EXPECT_EQ(icon.red(), icon.green());
        EXPECT_LT(icon.red(), 255);
        bool darkAtTheEnd = false;
        for (int x = 400 - 16 - 20; x < 400 - 16; ++x) {
            for (int y = 18; y < 38; ++y) {
                darkAtTheEnd = darkAtTheEnd || row.pixelColor(x, y).lightness() < 128;
            }
        }
        EXPECT_EQ(darkAtTheEnd, added);
    }
}

TEST(AppPickerSheetPicture, FilledFromThisMachinesDesktopEntries) {
    platform::sim::ManualRunLoop loop;
    const XdgApplicationCatalogue desktop(platform::Paths::fromProcessEnvironment());
    platform::BackgroundQueue background;
    InstalledAppsService apps(loop, desktop, background);
    platform::Observable<bool> isPresented{true};
    AppPickerSheet sheet(isPresented, {}, {}, apps);
    sheet.show();
    loop.runPending();
    background.waitUntilIdle();
    loop.runPending();
    loop.advanceSeconds(InstalledAppsService::kCacheUpdateThrottleSeconds);
    EXPECT_TRUE(test::saveArtefact(sheet, "app-picker-this-machine"));
}

class SitePickerSheetTest : public ::testing::Test {
  protected:
    platform::Observable<bool> isPresented{true};
    std::vector<std::string> added;
    SitePickerSheet sheet{isPresented, [this](const std::string& site) { added.push_back(site); }};
};

TEST_F(SitePickerSheetTest, CleansOnlyTheEndsAndTheCase) {
    const std::vector<std::pair<QString, QString>> cases{
        {"  Instagram.com  ", "instagram.com"},
        {"\t=Instagram.com\t", "=instagram.com"},
        {"HTTPS://WWW.Site.test/Path", "https://www.site.test/path"},
        {QString::fromUtf8("\u00a0Élan.fr\u2009"), QString::fromUtf8("élan.fr")},
        {"   ", ""},
        {"a b", "a b"},
    };
    for (const auto& [typed, expected] : cases) {
        EXPECT_EQ(SitePickerSheet::cleaned(typed), expected) << typed.toStdString();
    }
}

TEST_F(SitePickerSheetTest, ReturnAddsTheCleanedSiteAndCloses) {
    sheet.show();
    EXPECT_TRUE(test::saveArtefact(sheet, "site-picker-empty"));
    type(sheet.field(), "   ");
    EXPECT_FALSE(sheet.addButton()->isEnabled());
    press(sheet.field(), Qt::Key_Return);
    EXPECT_TRUE(added.empty());
    EXPECT_TRUE(isPresented.get());

    type(sheet.field(), "  Instagram.com  ");
    EXPECT_TRUE(sheet.addButton()->isEnabled());
    EXPECT_TRUE(test::saveArtefact(sheet, "site-picker-valid"));
    press(sheet.field(), Qt::Key_Return);
    EXPECT_EQ(added, std::vector<std::string>{"instagram.com"});
    EXPECT_FALSE(isPresented.get());
}

TEST_F(SitePickerSheetTest, TheButtonAddsAndTheCloseButtonOnlyCloses) {
    type(sheet.field(), "=Site.test");
    sheet.addButton()->click();
    EXPECT_EQ(added, std::vector<std::string>{"=site.test"});

    isPresented.set(true);
    sheet.header()->closeButton()->click();
    EXPECT_EQ(added.size(), 1u);
    EXPECT_FALSE(isPresented.get());
}

}  // namespace
}  // namespace olvane::ui
