#include <gtest/gtest.h>

#include <QLabel>

#include "ui/UiTestSupport.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/LogoView.h"
#include "ui/foundation/MainWindowView.h"
#include "ui/foundation/PageFrames.h"
#include "ui/pages/accueil/AccueilScale.h"
#include "ui/pages/accueil/AccueilView.h"
#include "ui/pages/accueil/CTAButton.h"
#include "ui/pages/accueil/ModuleCard.h"

namespace olvane::ui {
namespace {

TEST(AccueilScale, FollowsThePageAreaButANarrowPageNeverShrinksIt) {
    const struct {
        double width, height, scale;
    } cases[] = {
        {860, 670, 1},               // the resting size
        {860, 536, 0.8},             // a low page
        {1400, 1000, 1000 / 670.0},  // the height bounds it, not the width term of 2.41
        {500, 1000, 1},              // the width term, 0.75, is raised to 1
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(AccueilScale::forPageArea(c.width, c.height), c.scale)
            << c.width << "×" << c.height;
    }
}

DebugSpacingIndicator* gap(const AccueilView& view, const char* name) {
    return view.findChild<DebugSpacingIndicator*>(QStringLiteral("spacing:") + name);
}

TEST(AccueilView, OnlyTheHeroFollowsTheScale) {
    AppState appState;
    AccueilView view(appState);
    view.resize(860, 670);
    view.show();
    const QSize cta = view.ctaButton()->size();
    const int cardHeight = view.cards()[0]->height();
    EXPECT_EQ(view.logo()->side(), 100);
    EXPECT_EQ(view.title()->font().pixelSize(), 40);
    EXPECT_EQ(gap(view, "p18")->value(), 72);

    view.resize(1400, 1000);
    const double scale = 1000 / 670.0;
    EXPECT_DOUBLE_EQ(view.scale(), scale);
    EXPECT_EQ(view.logo()->side(), 149);
    EXPECT_EQ(view.title()->font().pixelSize(), 60);
    EXPECT_EQ(view.subtitle()->font().pixelSize(), 33);
    EXPECT_DOUBLE_EQ(gap(view, "p18")->value(), 72 * scale);
    EXPECT_DOUBLE_EQ(gap(view, "p10")->value(), 40 * scale);
    EXPECT_EQ(gap(view, "p4")->value(), 16);
    test::processEventsFor(30);  // the layout settles
    EXPECT_EQ(view.ctaButton()->size(), cta);
    EXPECT_EQ(view.cards()[0]->height(), cardHeight);
}

TEST(AccueilView, EachButtonSelectsItsPageOnceWithoutAskingTheGuard) {
    const struct {
        const char* name;
        std::function<QAbstractButton*(const AccueilView&)> button;
        NavigationItem target;
    } cases[] = {
        {"Configuration guidée", [](const AccueilView& v) { return v.ctaButton(); },
         NavigationItem::configurateur},
        {"Monochrome", [](const AccueilView& v) { return v.cards()[0]; },
         NavigationItem::grayscaleFilter},
        {"Contrepoids", [](const AccueilView& v) { return v.cards()[1]; },
         NavigationItem::frictionEffects},
        {"Assainisseur", [](const AccueilView& v) { return v.cards()[2]; },
         NavigationItem::contentFilter},
    };
    for (const auto& c : cases) {
        AppState appState;
        int guardCalls = 0;
        appState.navigationGuard.set([&](NavigationItem) {
            ++guardCalls;
            return false;
        });
        int changes = 0;
        auto observation = appState.selectedNavigationItem.observe([&](auto) { ++changes; });
        AccueilView view(appState);
        view.resize(900, 700);
        view.show();
        QAbstractButton* button = c.button(view);
        EXPECT_EQ(button->accessibleName(), QString::fromUtf8(c.name));
        button->click();
        button->click();
        EXPECT_EQ(appState.selectedNavigationItem.get(), c.target) << c.name;
        EXPECT_EQ(changes, 1) << c.name;
        EXPECT_EQ(guardCalls, 0) << c.name;
    }
}

TEST(ModuleCard, CutsItsDescriptionAfterTwoLines) {
    ModuleCard card(QStringLiteral("Monochrome"),
                    QStringLiteral("Une description bien trop longue pour tenir sur deux lignes "
                                   "dans une carte aussi étroite que celle-ci, coupée"),
                    "circle.lefthalf.filled", [] {});
    card.resize(200, card.heightForWidth(200));
    const QStringList lines = card.descriptionLines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[1].endsWith(QChar(0x2026))) << lines[1].toStdString();
    EXPECT_EQ(card.height(), ModuleCard::kMinimumHeight);
}

// The main window with the real home page.
class HomePages final : public PageFactory {
  public:
    explicit HomePages(AppState& appState) : appState_(appState) {}

    std::unique_ptr<QWidget> createPage(NavigationItem item, WindowWidth&) override {
        if (item == NavigationItem::accueil) {
            return std::make_unique<AccueilView>(appState_);
        }
        return frames_.createPage(item);
    }
    std::unique_ptr<QWidget> createUninstallProgress() override { return nullptr; }
    std::unique_ptr<QWidget> createWebExtensionPrompt(std::function<void()>,
                                                      std::function<void()>) override {
        return nullptr;
    }

  private:
    AppState& appState_;
    PageFrames frames_;
};

TEST(AccueilView, GrowsAndShrinksWithTheWindow) {
    AppState appState;
    HomePages pages(appState);
    MainWindowView window(appState, pages);
    window.show();
    const struct {
        int width, height;
        int logo;
        const char* picture;
    } sizes[] = {
        {1100, 700, 104, "accueil-1100x700"},
        {MainWindowView::kMinimumWidth, MainWindowView::kMinimumHeight, 100, "accueil-minimum"},
        {1600, 1100, 164, "accueil-1600x1100"},
    };
    for (const auto& s : sizes) {
        window.resize(s.width, s.height);
        auto* home = qobject_cast<AccueilView*>(window.currentPage());
        ASSERT_NE(home, nullptr);
        ASSERT_TRUE(test::processEventsUntil([&] { return home->height() == s.height; }));
        EXPECT_EQ(home->logo()->side(), s.logo) << s.picture;
        EXPECT_TRUE(test::saveArtefact(window, QString::fromLatin1(s.picture)));
    }
}

}  // namespace
}  // namespace olvane::ui
