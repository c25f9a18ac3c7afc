#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QKeyEvent>
#include <QLabel>

#include "platform/sim/CaptureLogSink.h"
#include "ui/UiTestSupport.h"
#include "ui/foundation/Animations.h"
#include "ui/foundation/HoverableIconButton.h"
#include "ui/foundation/InfoTooltip.h"
#include "ui/foundation/MainWindowView.h"
#include "ui/foundation/PageFrames.h"
#include "ui/foundation/StatusDot.h"
#include "ui/foundation/Theme.h"
#include "ui/pages/BrowserFixture.h"
#include "ui/pages/extensions/BrowserExtensionCard.h"
#include "ui/pages/extensions/BrowserExtensionList.h"
#include "ui/pages/extensions/ExtensionsView.h"
#include "ui/pages/extensions/GuideStepRow.h"
#include "ui/pages/extensions/WebExtensionPromptSheet.h"

namespace olvane::ui {
namespace {

using Statuses = std::map<BrowserType, ExtensionStatus>;

// The first column of `widget`'s picture with a dark pixel: where its text starts.
int inkLeft(QWidget* widget) {
    const QImage image = widget->grab().toImage();
    for (int x = 0; x < image.width(); ++x) {
        for (int y = 0; y < image.height(); ++y) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) > 128 && qGray(pixel) < 128) {
                return x;
            }
        }
    }
    return -1;
}

class ExtensionsPageTest : public ::testing::Test {
  protected:
    void SetUp() override { Animations::setJumpToEnd(true); }
    void TearDown() override { Animations::setJumpToEnd(false); }

    std::unique_ptr<ExtensionsView> makePage() {
        auto page = std::make_unique<ExtensionsView>(appState, fixture.collaborators());
        page->resize(880, 700);
        page->show();
        return page;
    }
    void installAllThree() {
        fixture.install("firefox-esr", QColor(230, 120, 20));
        fixture.install("com.apple.Safari", QColor(20, 120, 230));
        fixture.install("google-chrome", QColor(40, 170, 60));
    }

    test::BrowserFixture fixture;
    AppState appState;
};

TEST_F(ExtensionsPageTest, EachStatusShowsAsTheCardsSay) {
    installAllThree();
    appState.extensionStatus.set(Statuses{{BrowserType::firefox, ExtensionStatus::connected},
                                          {BrowserType::safari, ExtensionStatus::notDetected},
                                          {BrowserType::chrome, ExtensionStatus::connecting}});
    const auto page = makePage();
    const auto& cards = page->list()->cards();
    ASSERT_EQ(cards.size(), 3u);

    struct Expected {
        BrowserType browser;
        const char* accessibleName;
        bool blackHeader;
        bool filledDot;
        bool info;
        bool toggle;
    };
    const std::vector<Expected> expected{
        {BrowserType::firefox, "Firefox, Extension connectée", true, true, false, false},
        {BrowserType::safari, "Safari, Extension non connectée", false, false, true, true},
        {BrowserType::chrome, "Chrome, Connexion…", false, false, false, true},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& want = expected[i];
        const BrowserExtensionCard* card = cards[i];
        SCOPED_TRACE(want.accessibleName);
        EXPECT_EQ(card->browser(), want.browser);
        EXPECT_EQ(card->headerRow()->accessibleName(), QString::fromUtf8(want.accessibleName));
        EXPECT_EQ(card->headerFill(), want.blackHeader ? Theme::black() : Theme::white());
        EXPECT_EQ(card->statusDot()->isFilled(), want.filledDot);
        EXPECT_EQ(card->statusDot()->color(), want.blackHeader ? Theme::white() : Theme::black());
        EXPECT_EQ(card->infoTooltip()->isVisible(), want.info);
        EXPECT_EQ(card->guideToggle()->isVisible(), want.toggle);
    }

    appState.extensionStatus.set({});
    EXPECT_EQ(cards[1]->statusLabel()->text(), "Extension non connectée");
    EXPECT_TRUE(cards[2]->infoTooltip()->isVisible());
}

TEST_F(ExtensionsPageTest, GuidesOpenIndependentlyAndSafarisLinkRunsSafarisAction) {
    installAllThree();
    platform::sim::ScopedLogCapture log;
    const auto page = makePage();
    BrowserExtensionList* list = page->list();
    BrowserExtensionCard* safari = list->card(BrowserType::safari);
    BrowserExtensionCard* chrome = list->card(BrowserType::chrome);
    safari->guideToggle()->click();
    chrome->guideToggle()->click();
    EXPECT_TRUE(safari->guide()->isVisible());
    EXPECT_TRUE(chrome->guide()->isVisible());
    EXPECT_EQ(safari->guideToggle()->accessibleDescription(), "développé");
    chrome->guideToggle()->click();
    EXPECT_FALSE(chrome->guide()->isVisible());
    EXPECT_EQ(chrome->guideToggle()->accessibleDescription(), "réduit");
    EXPECT_TRUE(safari->guide()->isVisible());

    const auto& steps = safari->stepRows();
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0]->accessibleName(), "Étape 1. Ouvre Safari, puis Réglages → Extensions.");
    ASSERT_NE(steps[0]->link(), nullptr);
    EXPECT_EQ(steps[0]->link()->accessibleName(), "Ouvrir Réglages → Extensions");
    EXPECT_EQ(steps[1]->link(), nullptr);
    steps[0]->link()->click();
    fixture.loop.runPending();
    EXPECT_TRUE(fixture.urls.opened.empty());
    EXPECT_EQ(log->count("showPreferencesForExtension a échoué: Safari n'est pas disponible sur "
                         "ce système"),
              1u);

    list->card(BrowserType::firefox)->guideToggle()->click();
    list->card(BrowserType::firefox)->stepRows()[0]->link()->click();
    EXPECT_EQ(fixture.urls.opened, (std::vector<std::string>{"https://addons.mozilla.org/"}));
}

TEST_F(ExtensionsPageTest, UnderThePointerTheGuideTitleStaysAndTheLinkKeepsItsSpace) {
    installAllThree();
    const auto page = makePage();
    BrowserExtensionCard* chrome = page->list()->card(BrowserType::chrome);
    QWidget* toggle = chrome->guideToggle();
    const int titleStart = inkLeft(toggle);
    test::hover(toggle, true);
    EXPECT_EQ(inkLeft(toggle), titleStart);
    test::hover(toggle, false);

    chrome->guideToggle()->click();
    QWidget* link = chrome->stepRows()[0]->link();
    const QFontMetricsF metrics(Theme::fontRegular14());
    const int spaceEnd =
        static_cast<int>(metrics.horizontalAdvance("Ouvre la fiche Olvane sur le "));
    const int wordEnd = static_cast<int>(metrics.horizontalAdvance("Ouvre la fiche Olvane sur le"));
    const int restStart = link->x() + inkLeft(link);
    EXPECT_GE(restStart, spaceEnd) << "at rest, one plain space before the link";
    EXPECT_LE(restStart, spaceEnd + 2) << "at rest, one plain space before the link";
    test::hover(link, true);
    EXPECT_GT(link->x() + inkLeft(link), wordEnd + 1) << "sur leChrome Web Store";
}

TEST_F(ExtensionsPageTest, AConnectionHidesTheGuideAndItsLossShowsItAgain) {
    installAllThree();
    const auto page = makePage();
    BrowserExtensionCard* firefox = page->list()->card(BrowserType::firefox);
    firefox->guideToggle()->click();
    ASSERT_TRUE(firefox->isOpen());

    appState.extensionStatus.set(Statuses{{BrowserType::firefox, ExtensionStatus::connected}});
    EXPECT_FALSE(firefox->guide()->isVisible());
    EXPECT_FALSE(firefox->guideToggle()->isVisible());
    EXPECT_TRUE(page->list()->expandedGuides().contains(BrowserType::firefox));

    appState.extensionStatus.set(Statuses{{BrowserType::firefox, ExtensionStatus::notDetected}});
    EXPECT_TRUE(firefox->guide()->isVisible());
    EXPECT_EQ(firefox->borderWidth(), 1.5);
}

TEST_F(ExtensionsPageTest, Pictures) {
    installAllThree();
    appState.extensionStatus.set(Statuses{{BrowserType::firefox, ExtensionStatus::connected},
                                          {BrowserType::safari, ExtensionStatus::notDetected},
                                          {BrowserType::chrome, ExtensionStatus::connecting}});
    const auto page = makePage();
    page->list()->card(BrowserType::safari)->guideToggle()->click();
    page->list()->card(BrowserType::chrome)->guideToggle()->click();
    page->resize(880, page->sizeHint().height());
    ASSERT_TRUE(test::saveArtefact(*page, QStringLiteral("extensions-three-statuses")));

    test::BrowserFixture nothingInstalled;
    ExtensionsView empty(appState, nothingInstalled.collaborators());
    empty.resize(880, empty.sizeHint().height());
    empty.show();
    EXPECT_TRUE(empty.list()->cards().empty());
    EXPECT_TRUE(empty.list()->emptyMessage()->isVisible());
    EXPECT_EQ(empty.list()->emptyMessage()->text(),
              "Aucun navigateur compatible détecté sur cet ordinateur.");
    ASSERT_TRUE(test::saveArtefact(empty, QStringLiteral("extensions-none")));
}

// The real pages for the prompt's two ends, frames elsewhere.
class PromptPages final : public PageFactory {
  public:
    explicit PromptPages(AppState& appState, test::BrowserFixture& fixture)
        : appState_(appState), fixture_(fixture) {}

    std::unique_ptr<QWidget> createPage(NavigationItem item, WindowWidth&) override {
        ++built;
        if (item == NavigationItem::extensions) {
            return std::make_unique<ExtensionsView>(appState_, fixture_.collaborators());
        }
        return frames_.createPage(item);
    }
    std::unique_ptr<QWidget> createUninstallProgress() override {
        return frames_.createUninstallProgress();
    }
    std::unique_ptr<QWidget> createWebExtensionPrompt(std::function<void()> open,
                                                      std::function<void()> dismiss) override {
        return std::make_unique<WebExtensionPromptSheet>(std::move(dismiss), std::move(open));
    }

    int built = 0;

  private:
    AppState& appState_;
    test::BrowserFixture& fixture_;
    PageFrames frames_;
};

TEST_F(ExtensionsPageTest, ThePromptKeepsThePageOrLeadsToExtensions) {
    PromptPages pages(appState, fixture);
    appState.selectedNavigationItem.set(NavigationItem::contentFilter);
    MainWindowView window(appState, pages);
    window.resize(1100, 700);
    window.show();
    const auto prompt = [&] {
        appState.showWebExtensionPrompt.set(true);
        auto* sheet = qobject_cast<WebExtensionPromptSheet*>(window.webExtensionPrompt());
        EXPECT_NE(sheet, nullptr);
        return sheet;
    };
    const auto press = [](QWidget* widget, int key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    };

    WebExtensionPromptSheet* sheet = prompt();
    EXPECT_EQ(sheet->width(), WebExtensionPromptSheet::kWidth);
    EXPECT_EQ(sheet->title()->font().capitalization(), QFont::AllUppercase);
    EXPECT_EQ(sheet->title()->text(), "Cette fonctionnalité nécessite l'extension Olvane");
    EXPECT_EQ(sheet->closeButton()->accessibleName(), "Fermer");
    ASSERT_TRUE(test::saveArtefact(*sheet, QStringLiteral("web-extension-prompt")));

    const std::vector<std::pair<const char*, std::function<void(WebExtensionPromptSheet*)>>>
        keepers{{"Escape", [&](auto* s) { press(s, Qt::Key_Escape); }},
                {"Plus tard", [](auto* s) { s->laterButton()->click(); }},
                {"the close icon", [](auto* s) { s->closeButton()->click(); }}};
    for (const auto& [how, dismiss] : keepers) {
        dismiss(how == keepers.front().first ? sheet : prompt());
        EXPECT_FALSE(appState.showWebExtensionPrompt.get()) << how;
        EXPECT_EQ(appState.selectedNavigationItem.get(), NavigationItem::contentFilter) << how;
        EXPECT_EQ(window.webExtensionPrompt(), nullptr) << how;
    }

    press(prompt(), Qt::Key_Return);
    EXPECT_FALSE(appState.showWebExtensionPrompt.get());
    EXPECT_EQ(appState.selectedNavigationItem.get(), NavigationItem::extensions);
    EXPECT_NE(qobject_cast<ExtensionsView*>(window.currentPage()), nullptr);

    const int builtBefore = pages.built;
    prompt()->openButton()->click();
    EXPECT_FALSE(appState.showWebExtensionPrompt.get());
    EXPECT_EQ(pages.built, builtBefore);
}

}  // namespace
}  // namespace olvane::ui
