#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/Handle.h"
#include "platform/Observable.h"
#include "ui/foundation/InstalledApp.h"
#include "ui/foundation/InstalledAppsService.h"

class QListView;
class QStackedWidget;
class QLabel;

namespace olvane::ui {

class SheetHeader;
class ThemedTextField;

// The sheet in which the user chooses one installed application: the catalogue, narrowed by
// what is typed, with a check mark on the applications the caller already has. Choosing one
// hands it to the caller and closes the sheet. Redrawn as soon as the catalogue changes.
class AppPickerSheet final : public QWidget {
    Q_OBJECT

  public:
    static constexpr QSize kSize{450, 550};

    enum class Content { loading, empty, list };

    AppPickerSheet(platform::Observable<bool>& isPresented, std::set<std::string> existingBundleIDs,
                   std::function<void(const InstalledApp&)> onAppSelected,
                   InstalledAppsService& appsService, QWidget* parent = nullptr);
    ~AppPickerSheet() override;

    // The applications shown: the catalogue without this application, narrowed to the names
    // that contain the search text, whatever the case.
    std::vector<InstalledApp> filteredApps() const;
    // What a row's click does: hand the application over, then close.
    void selectApp(const InstalledApp& app);
    // Whether the row of `bundleID` carries the check mark of an application already added.
    bool showsAsAdded(const std::string& bundleID) const {
        return existingBundleIDs_.contains(bundleID);
    }

    QString searchText() const;
    ThemedTextField* searchField() const { return search_; }
    SheetHeader* header() const { return header_; }
    QListView* list() const { return list_; }
    Content content() const;
    // The text of the empty state.
    QString emptyText() const;

    QSize sizeHint() const override { return kSize; }

  protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    class ListModel;
    class RowDelegate;

    void redraw();

    platform::Observable<bool>& isPresented_;
    std::set<std::string> existingBundleIDs_;
    std::function<void(const InstalledApp&)> onAppSelected_;
    InstalledAppsService& appsService_;
    SheetHeader* header_;
    ThemedTextField* search_;
    QStackedWidget* content_;
    QWidget* loading_;
    QWidget* empty_;
    QLabel* emptyLabel_;
    QListView* list_;
    std::unique_ptr<ListModel> model_;
    platform::Handle observation_;
};

}  // namespace olvane::ui
