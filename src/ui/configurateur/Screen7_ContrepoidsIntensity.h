#pragma once

#include <QWidget>

#include "model/Uuid.h"
#include "platform/Handle.h"
#include "ui/configurateur/IntensityRow.h"
#include "ui/foundation/KeyedRows.h"

namespace olvane {
class ConfigurateurViewModel;
}

namespace olvane::ui {

class AnswerScrollArea;

// One level per target, applications and websites together in the order they were added.
class Screen7_ContrepoidsIntensity final : public QWidget {
    Q_OBJECT

  public:
    Screen7_ContrepoidsIntensity(ConfigurateurViewModel& viewModel, FaviconService& favicons,
                                 InstalledAppsService& apps, QWidget* parent = nullptr);

    std::vector<IntensityRow*> rows() const { return rows_->rows(); }

  private:
    void showRows();

    ConfigurateurViewModel& viewModel_;
    FaviconService& favicons_;
    InstalledAppsService& apps_;
    AnswerScrollArea* scroll_;
    std::unique_ptr<KeyedRows<Uuid, IntensityRow>> rows_;
    platform::Handle observation_;
};

}  // namespace olvane::ui
