#pragma once

#include <QWidget>
#include <vector>

#include "app/AppState.h"
#include "platform/Handle.h"
#include "ui/foundation/DebugColor.h"

namespace olvane::ui {

class NavigationRow;
class SidebarHeader;
class ExtensionStatusSection;

// The left column of the main window: the logo header (home page), the module pages, the help
// and settings pages, and at the bottom the extension status and the way to the Extensions page.
class SidebarView final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidth = 220;
    // How far the lower separators stay from either edge; the extensions' states keep it too.
    static constexpr int kSeparatorInset = 24;
    static const std::vector<NavigationItem>& orientationItems();
    static const std::vector<NavigationItem>& protectionItems();

    SidebarView(AppState& appState, std::vector<NavigationItem> orientation,
                std::vector<NavigationItem> protection, QWidget* parent = nullptr);

    // The one navigation rule of the sidebar: asks the guard (also for the current page), then
    // changes page only to a different one.
    void navigate(NavigationItem target);

    SidebarHeader* header() const { return header_; }
    // Every row, the Extensions row last.
    const std::vector<NavigationRow*>& rows() const { return rows_; }
    NavigationRow* row(NavigationItem item) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    struct DebugName {
        QString label;
        DebugColor color;
    };
    // One group of rows; its name appears only in spacing debug.
    QWidget* makeGroup(const std::vector<NavigationItem>& items, bool showIcon, int topPadding,
                       const DebugName& name);
    NavigationRow* makeRow(NavigationItem item, bool showIcon, std::optional<QString> label);
    void showSelection();

    AppState& appState_;
    SidebarHeader* header_;
    std::vector<NavigationRow*> rows_;
    platform::Handle observation_;
};

}  // namespace olvane::ui
