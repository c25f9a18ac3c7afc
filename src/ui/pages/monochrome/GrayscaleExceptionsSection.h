#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "platform/Handle.h"
#include "platform/Observable.h"
#include "ui/foundation/ExceptionTab.h"

namespace olvane::ui {

class AddExceptionRow;
class AllowedAppRowView;
class AllowedSiteRowView;
class ExceptionTabBar;
class FaviconService;
class GrayscaleFilterViewModel;
class InstalledAppsService;

// The second section of the Monochrome page: the applications and websites that stay in
// colour, one list per tab, each row with its delete button and each list closed by the row
// that opens its picker (through the page's flags).
class GrayscaleExceptionsSection final : public QWidget {
    Q_OBJECT

  public:
    GrayscaleExceptionsSection(GrayscaleFilterViewModel& viewModel,
                               platform::Observable<bool>& showAppPicker,
                               platform::Observable<bool>& showSitePicker,
                               InstalledAppsService& apps, FaviconService& favicons,
                               QWidget* parent = nullptr);
    ~GrayscaleExceptionsSection() override;

    ExceptionTabBar* tabBar() const { return tabBar_; }
    // Applications each time the page is built.
    platform::Observable<ExceptionTab> selectedTab{ExceptionTab::apps};

    std::vector<AllowedAppRowView*> appRows() const;
    std::vector<AllowedSiteRowView*> siteRows() const;
    AddExceptionRow* addAppRow() const;
    AddExceptionRow* addSiteRow() const;
    // The list of the selected tab; the other one is hidden.
    QWidget* shownList() const;

  private:
    template <typename Row>
    class RowList;

    void showTab();
    void showCounts();

    GrayscaleFilterViewModel& viewModel_;
    ExceptionTabBar* tabBar_;
    std::unique_ptr<RowList<AllowedAppRowView>> apps_;
    std::unique_ptr<RowList<AllowedSiteRowView>> sites_;
    std::vector<platform::Handle> observations_;
};

}  // namespace olvane::ui
