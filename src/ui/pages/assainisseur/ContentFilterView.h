#pragma once

#include <QWidget>
#include <map>
#include <memory>
#include <set>

#include "model/Platform.h"

namespace olvane {
class ContentFilterViewModel;
}

namespace olvane::ui {

class FaviconService;
class PlatformCard;

// The Assainisseur page: one card per platform, all closed at first and any number open at
// once, then the announcement of the ad blocker. The page owns its model.
class ContentFilterView final : public QWidget {
    Q_OBJECT

  public:
    ContentFilterView(std::unique_ptr<ContentFilterViewModel> viewModel, FaviconService& favicons,
                      QWidget* parent = nullptr);
    ~ContentFilterView() override;

    ContentFilterViewModel& viewModel() const { return *viewModel_; }
    PlatformCard* card(Platform platform) const { return cards_.at(platform); }
    const std::set<Platform>& expandedPlatforms() const { return expandedPlatforms_; }

  protected:
    // White, as the window behind it, also where it is shown on its own.
    void paintEvent(QPaintEvent* event) override;

  private:
    QWidget* siteCards(FaviconService& favicons);
    QWidget* adBlockerNote();
    void toggleExpanded(Platform platform);

    std::unique_ptr<ContentFilterViewModel> viewModel_;
    std::set<Platform> expandedPlatforms_;
    std::map<Platform, PlatformCard*> cards_;
};

}  // namespace olvane::ui
