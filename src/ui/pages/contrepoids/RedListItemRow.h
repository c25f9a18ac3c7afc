#pragma once

#include <QImage>
#include <QVariantAnimation>
#include <QWidget>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "model/RedListConfig.h"
#include "model/Uuid.h"
#include "platform/Handle.h"
#include "platform/Observable.h"

class QAbstractButton;

namespace olvane::ui {

class FaviconService;
class FrictionEffectsViewModel;
class InstalledAppsService;
class RedListConfigPanel;

// One target of the "Cibles" list: its icon and name, the symbols of its effects that are on,
// a chevron and a remove cross. A target with an effect on is drawn black with white content.
// A click on the row opens it onto the target's configuration panel. The row reads its target
// from the page's model at every change and hands each change back to it.
class RedListItemRow final : public QWidget {
    Q_OBJECT

  public:
    struct IconSources {
        FaviconService& favicons;
        InstalledAppsService& apps;
    };

    static constexpr int kIconSide = 24;
    static constexpr int kActiveAnimationMs = 300;
    static constexpr int kExpandAnimationMs = 200;

    RedListItemRow(const Uuid& configId, FrictionEffectsViewModel& viewModel,
                   platform::Observable<std::set<Uuid>>& expandedIds, IconSources icons,
                   std::function<void()> onRemove, QWidget* parent = nullptr);
    ~RedListItemRow() override;

    const Uuid& configId() const { return configId_; }
    // The target as the model holds it now; absent once removed.
    std::optional<RedListConfig> config() const;
    bool isActive() const;
    bool isExpanded() const;
    // What a click on the row does.
    void setExpanded(bool expanded);

    QWidget* mainRow() const;
    QAbstractButton* removeButton() const;
    // The configuration panel while expanded.
    RedListConfigPanel* panel() const { return panel_; }
    // The application's icon or the site's favicon once loaded.
    const std::optional<QImage>& cachedIcon() const { return cachedIcon_; }
    // "globe" or "app.fill" while no icon is loaded.
    std::string fallbackSymbol() const;
    // The symbols of the effects that are on, in the order fog, turtle, delay.
    std::vector<std::string> activeEffectSymbols() const;
    std::string chevronSymbol() const;
    // White on an active target, black otherwise (moving during the change).
    QColor foreground() const;
    // 0 while inactive, 1 while active (moving during the change).
    qreal activeProgress() const { return activeProgress_; }
    // How far the open panel has come in, 0 to 1.
    qreal panelAppearance() const { return panelProgress_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    class MainRow;
    class CardEdge;
    class RemoveButton;

    void showConfig();
    void showExpansion();
    void loadIcon();
    void setIcon(const QImage& icon);

    Uuid configId_;
    FrictionEffectsViewModel& viewModel_;
    platform::Observable<std::set<Uuid>>& expandedIds_;
    IconSources icons_;
    std::function<void()> onRemove_;
    MainRow* mainRow_;
    QWidget* separator_;
    RedListConfigPanel* panel_ = nullptr;
    CardEdge* edge_;
    std::optional<QImage> cachedIcon_;
    bool iconRequested_ = false;
    bool shownActive_ = false;
    qreal activeProgress_ = 0;
    QVariantAnimation activeAnimation_;
    qreal panelProgress_ = 1;
    QVariantAnimation panelAppearance_;
    platform::Handle iconWait_;
    std::vector<platform::Handle> observations_;
};

}  // namespace olvane::ui
