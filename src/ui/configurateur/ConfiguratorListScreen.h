#pragma once

#include <QString>
#include <QWidget>
#include <memory>
#include <string>

#include "platform/Observable.h"

namespace olvane::ui {

class ConfiguratorListCard;
class SheetPresenter;

// A screen that gathers a list: its question card holds the entries and the "add" row, which
// opens the screen's picker as a sheet for as long as the screen's flag is set.
class ConfiguratorListScreen : public QWidget {
    Q_OBJECT

  public:
    ~ConfiguratorListScreen() override;

    platform::Observable<bool>& pickerShown() { return pickerShown_; }
    // The picker on screen; null while it is closed.
    QWidget* picker() const;
    ConfiguratorListCard* list() const { return list_; }

  protected:
    ConfiguratorListScreen(const QString& question, const std::string& icon,
                           const QString& addLabel, QWidget* parent);

    // A new picker each time it opens.
    virtual std::unique_ptr<QWidget> makePicker() = 0;

  private:
    platform::Observable<bool> pickerShown_{false};
    ConfiguratorListCard* list_;
    std::unique_ptr<SheetPresenter> presenter_;
};

}  // namespace olvane::ui
