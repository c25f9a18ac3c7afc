#pragma once

#include <QString>
#include <QWidget>
#include <memory>
#include <string>

#include "platform/Handle.h"
#include "platform/Observable.h"
#include "ui/configurateur/ConfiguratorListCard.h"
#include "ui/foundation/KeyedRows.h"

namespace olvane {
class ConfigurateurViewModel;
}

namespace olvane::ui {

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

// A list screen whose rows are known by a key: an application ID, a site or a target.
template <typename Key, typename Row>
class KeyedListScreen : public ConfiguratorListScreen {
  public:
    std::vector<Row*> rows() const { return rows_.rows(); }

  protected:
    KeyedListScreen(ConfigurateurViewModel& viewModel, const QString& question,
                    const std::string& icon, const QString& addLabel, QWidget* parent)
        : ConfiguratorListScreen(question, icon, addLabel, parent),
          viewModel_(viewModel),
          rows_(list()->rows(), 0) {}

    // One row per key, `make` building those of new keys; the add row follows.
    template <typename Make>
    void showRows(const std::vector<Key>& keys, Make make) {
        rows_.show(keys, make);
        list()->setHasEntries(!keys.empty());
    }

    ConfigurateurViewModel& viewModel_;
    // The screen's watch on its draft.
    platform::Handle observation_;

  private:
    KeyedRows<Key, Row> rows_;
};

}  // namespace olvane::ui
