#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <vector>

#include "ui/foundation/NavigationRow.h"
#include "ui/foundation/SidebarHeader.h"
#include "ui/foundation/SidebarView.h"

namespace olvane::ui {
namespace {

class SidebarViewTest : public ::testing::Test {
  protected:
    AppState appState;
    SidebarView sidebar{appState, SidebarView::orientationItems(), SidebarView::protectionItems()};
    std::vector<NavigationItem> notified;
    platform::Handle watch = appState.selectedNavigationItem.observe(
        [this](NavigationItem i) { notified.push_back(i); });
};

TEST_F(SidebarViewTest, ShowsTheModulesWithSymbolsAndTheRestAsTitles) {
    std::vector<std::pair<QString, bool>> rows;
    for (auto* row : sidebar.rows()) {
        rows.emplace_back(row->title(), row->showsIcon());
    }
    const std::vector<std::pair<QString, bool>> expected{
        {"Monochrome", true},           {"Contrepoids", true}, {"Assainisseur", true},
        {"Configurateur", false},       {"Guide", false},      {"Réglages", false},
        {"Gérer les extensions", false}};
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(sidebar.width(), SidebarView::kWidth);

    // The extensions' states end where the separators do, clear of the sidebar's divider.
    sidebar.resize(SidebarView::kWidth, 700);
    sidebar.show();
    QApplication::processEvents();
    int states = 0;
    for (const auto* label : sidebar.findChildren<QLabel*>()) {
        if (label->text() == "Non connectée") {
            ++states;
            const int right = label->mapTo(&sidebar, QPoint(label->width(), 0)).x();
            EXPECT_LE(right, SidebarView::kWidth - SidebarView::kSeparatorInset);
        }
    }
    EXPECT_EQ(states, 3);
}

TEST_F(SidebarViewTest, WithoutAGuardChangesOnlyToAnotherPage) {
    sidebar.header()->click();  // already on the home page
    EXPECT_TRUE(notified.empty());
    EXPECT_FALSE(sidebar.header()->hoverScale().isActive());

    sidebar.row(NavigationItem::frictionEffects)->click();
    sidebar.row(NavigationItem::frictionEffects)->click();
    EXPECT_EQ(notified, std::vector<NavigationItem>{NavigationItem::frictionEffects});
    EXPECT_TRUE(sidebar.row(NavigationItem::frictionEffects)->isSelected());
    EXPECT_FALSE(sidebar.row(NavigationItem::frictionEffects)->hoverScale().isActive());
    EXPECT_TRUE(sidebar.row(NavigationItem::guide)->hoverScale().isActive());
    EXPECT_TRUE(sidebar.header()->hoverScale().isActive());

    sidebar.row(NavigationItem::extensions)->click();
    EXPECT_EQ(appState.selectedNavigationItem.get(), NavigationItem::extensions);
    EXPECT_TRUE(sidebar.row(NavigationItem::extensions)->isSelected());
    EXPECT_FALSE(sidebar.row(NavigationItem::frictionEffects)->isSelected());
}

TEST_F(SidebarViewTest, ARefusingGuardIsAskedForEveryClickAndKeepsThePage) {
    appState.selectedNavigationItem.set(NavigationItem::configurateur);
    notified.clear();
    std::vector<NavigationItem> asked;
    bool allow = false;
    appState.navigationGuard.set([&](NavigationItem target) {
        asked.push_back(target);
        return allow;
    });

    sidebar.row(NavigationItem::grayscaleFilter)->click();
    sidebar.row(NavigationItem::configurateur)->click();  // the current page is asked too
    sidebar.header()->click();
    sidebar.row(NavigationItem::extensions)->click();
    EXPECT_EQ(asked, (std::vector<NavigationItem>{
                         NavigationItem::grayscaleFilter, NavigationItem::configurateur,
                         NavigationItem::accueil, NavigationItem::extensions}));
    EXPECT_TRUE(notified.empty());
    EXPECT_TRUE(sidebar.row(NavigationItem::configurateur)->isSelected());

    allow = true;
    sidebar.row(NavigationItem::settings)->click();
    EXPECT_EQ(notified, std::vector<NavigationItem>{NavigationItem::settings});
}

}  // namespace
}  // namespace olvane::ui
