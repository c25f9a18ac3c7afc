#pragma once

#include <QWidget>
#include <memory>
#include <set>
#include <vector>

#include "model/Uuid.h"
#include "platform/Handle.h"
#include "platform/Observable.h"
#include "ui/foundation/ExceptionTab.h"
#include "ui/pages/contrepoids/RedListItemRow.h"

namespace olvane::ui {

class AddExceptionRow;
class ExceptionTabBar;
class FadingSeparator;
class FrictionEffectsViewModel;

// "Cibles": the page's targets in two tabs, applications and websites, one row per target
// that opens onto its configuration, each list closed by the row that opens its picker.
class RedListSection final : public QWidget {
    Q_OBJECT

  public:
    RedListSection(FrictionEffectsViewModel& viewModel, platform::Observable<bool>& showAppPicker,
                   platform::Observable<bool>& showSitePicker, RedListItemRow::IconSources icons,
                   QWidget* parent = nullptr);
    ~RedListSection() override;

    // Applications each time the page is built.
    platform::Observable<ExceptionTab> selectedTab{ExceptionTab::apps};
    // The rows open now, in both tabs; empty each time the page is built.
    platform::Observable<std::set<Uuid>> expandedItemIds;

    ExceptionTabBar* tabBar() const { return tabBar_; }
    std::vector<RedListItemRow*> rows(ExceptionTab tab) const;
    // The separators between the rows of a tab, in order.
    std::vector<FadingSeparator*> separators(ExceptionTab tab) const;
    AddExceptionRow* addRow(ExceptionTab tab) const;
    // The list of the selected tab; the other one is hidden.
    QWidget* shownList() const;

  private:
    class TargetList;

    void showTargets();
    void showTab();
    TargetList& list(ExceptionTab tab) const;

    FrictionEffectsViewModel& viewModel_;
    ExceptionTabBar* tabBar_;
    std::unique_ptr<TargetList> apps_;
    std::unique_ptr<TargetList> sites_;
    std::vector<platform::Handle> observations_;
};

}  // namespace olvane::ui
