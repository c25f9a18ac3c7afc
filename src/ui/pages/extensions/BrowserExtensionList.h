#pragma once

#include <QWidget>
#include <memory>
#include <set>
#include <vector>

#include "app/AppState.h"
#include "platform/Handle.h"
#include "ui/pages/extensions/ExtensionsViewModel.h"

class QLabel;
class QVBoxLayout;

namespace olvane::ui {

class BrowserExtensionCard;

// The cards of the supported browsers installed here, with their extension status, or a line
// saying that there is none. It follows the statuses and the installed applications, and looks
// again each time it is shown. Each list has its own model and its own set of open guides.
class BrowserExtensionList final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kCardSpacing = 12;

    BrowserExtensionList(AppState& appState, ExtensionsViewModel::Collaborators collaborators,
                         QWidget* parent = nullptr);
    ~BrowserExtensionList() override;

    ExtensionsViewModel& viewModel() { return viewModel_; }
    const std::set<BrowserType>& expandedGuides() const { return expandedGuides_; }
    // In list order; empty while no browser is installed.
    const std::vector<BrowserExtensionCard*>& cards() const { return cards_; }
    BrowserExtensionCard* card(BrowserType browser) const;
    // Shown only while the list is empty.
    QLabel* emptyMessage() const { return emptyMessage_; }

    // Looks at the installed browsers and the statuses again.
    void refresh();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    ExtensionStatus statusOf(BrowserType browser) const;
    void rebuild(const std::vector<ExtensionsViewModel::InstalledBrowser>& browsers);
    void toggleGuide(BrowserType browser);

    AppState& appState_;
    ExtensionsViewModel viewModel_;
    std::set<BrowserType> expandedGuides_;
    QVBoxLayout* cardsLayout_;
    QLabel* emptyMessage_;
    std::vector<BrowserExtensionCard*> cards_;
    std::vector<platform::Handle> observations_;
};

}  // namespace olvane::ui
