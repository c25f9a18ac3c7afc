#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>
#include <string>

#include "platform/Handle.h"

class QLabel;

namespace olvane::ui {

class GrayIconView;
class HoverableIconButton;
class InstalledAppsService;

// One chosen application or site in a wizard list: its icon (a symbol until one is known), its
// name and, at the end, the cross that removes it.
class ConfiguratorListRow : public QWidget {
    Q_OBJECT

  public:
    ConfiguratorListRow(const std::string& placeholder, const QString& name,
                        std::function<void()> onRemove, QWidget* parent = nullptr);

    QString name() const;
    GrayIconView* icon() const { return icon_; }
    HoverableIconButton* removeButton() const { return remove_; }

  protected:
    void setName(const QString& name);
    // Shows `icon` (none keeps the symbol), then the icon of application `id` when a lookup in
    // flight brings it.
    void showApplicationIcon(InstalledAppsService& apps, const std::string& id,
                             const std::optional<QImage>& icon);

  private:
    GrayIconView* icon_;
    QLabel* name_;
    HoverableIconButton* remove_;
    platform::Handle iconArrival_;
};

}  // namespace olvane::ui
