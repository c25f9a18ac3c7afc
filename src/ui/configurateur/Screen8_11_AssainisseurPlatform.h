#pragma once

#include <QString>
#include <QWidget>
#include <string>
#include <vector>

#include "model/ContentRule.h"
#include "model/Platform.h"
#include "platform/Handle.h"
#include "ui/configurateur/ContentRuleRow.h"
#include "ui/foundation/KeyedRows.h"

class QVBoxLayout;

namespace olvane {
class ConfigurateurViewModel;
}

namespace olvane::ui {

// The content rules of one platform, one switch each, in their stored order; an empty card when
// the draft has no entry for the platform.
class Screen8_11_AssainisseurPlatform final : public QWidget {
    Q_OBJECT

  public:
    Screen8_11_AssainisseurPlatform(ConfigurateurViewModel& viewModel, Platform platform,
                                    QWidget* parent = nullptr);

    static QString question(Platform platform);
    // The rules of the platform's first entry in the draft.
    std::vector<ContentRule> rules() const;
    std::vector<ContentRuleRow*> rows() const { return rows_->rows(); }

  private:
    void showRows();

    ConfigurateurViewModel& viewModel_;
    Platform platform_;
    QVBoxLayout* column_;
    std::unique_ptr<KeyedRows<std::string, ContentRuleRow>> rows_;
    platform::Handle observation_;
};

}  // namespace olvane::ui
