#include "ui/pages/extensions/BrowserExtensionList.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/pages/extensions/BrowserExtensionCard.h"

namespace olvane::ui {

BrowserExtensionList::BrowserExtensionList(AppState& appState,
                                           ExtensionsViewModel::Collaborators collaborators,
                                           QWidget* parent)
    : QWidget(parent),
      appState_(appState),
      viewModel_(collaborators),
      emptyMessage_(
          themedLabel(QStringLiteral("Aucun navigateur compatible détecté sur cet ordinateur."),
                      Theme::fontRegular14(), this)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    emptyMessage_->setWordWrap(true);
    emptyMessage_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    column->addWidget(emptyMessage_);
    cardsLayout_ = new QVBoxLayout();
    cardsLayout_->setSpacing(kCardSpacing);
    column->addLayout(cardsLayout_);
    refresh();
    observations_.push_back(appState_.extensionStatus.observe([this](const auto&) { refresh(); }));
    observations_.push_back(viewModel_.observeInstalledApps([this] { refresh(); }));
}

BrowserExtensionList::~BrowserExtensionList() = default;

BrowserExtensionCard* BrowserExtensionList::card(BrowserType browser) const {
    for (auto* card : cards_) {
        if (card->browser() == browser) {
            return card;
        }
    }
    return nullptr;
}

void BrowserExtensionList::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
}

ExtensionStatus BrowserExtensionList::statusOf(BrowserType browser) const {
    const auto& statuses = appState_.extensionStatus.get();
    const auto it = statuses.find(browser);
    return it == statuses.end() ? ExtensionStatus::browserNotRunning : it->second;
}

void BrowserExtensionList::refresh() {
    const auto browsers = viewModel_.installedBrowsers();
    bool sameBrowsers = browsers.size() == cards_.size();
    for (std::size_t i = 0; sameBrowsers && i < browsers.size(); ++i) {
        sameBrowsers = cards_[i]->browser() == browsers[i].browser;
    }
    if (!sameBrowsers) {
        rebuild(browsers);
    }
    for (std::size_t i = 0; i < browsers.size(); ++i) {
        cards_[i]->setStatus(statusOf(browsers[i].browser));
        cards_[i]->setAppIcon(browsers[i].icon);
    }
    emptyMessage_->setVisible(browsers.empty());
}

void BrowserExtensionList::rebuild(
    const std::vector<ExtensionsViewModel::InstalledBrowser>& browsers) {
    for (QWidget* old : cards_) {
        old->hide();
        old->deleteLater();
    }
    cards_.clear();
    for (const auto& [browser, icon] : browsers) {
        auto* card = new BrowserExtensionCard(
            browser, statusOf(browser), icon, expandedGuides_.contains(browser),
            [this, browser] { toggleGuide(browser); },
            [this, browser] { viewModel_.performPrimaryAction(browser); }, this);
        cardsLayout_->addWidget(card);
        cards_.push_back(card);
    }
}

void BrowserExtensionList::toggleGuide(BrowserType browser) {
    if (!expandedGuides_.erase(browser)) {
        expandedGuides_.insert(browser);
    }
    if (auto* shown = card(browser)) {
        shown->setGuideExpanded(expandedGuides_.contains(browser));
    }
}

}  // namespace olvane::ui
