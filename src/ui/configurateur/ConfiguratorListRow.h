#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <string>

class QLabel;

namespace olvane::ui {

class GrayIconView;
class HoverableIconButton;

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

  private:
    GrayIconView* icon_;
    QLabel* name_;
    HoverableIconButton* remove_;
};

}  // namespace olvane::ui
