#pragma once

#include <QWidget>
#include <functional>

#include "app/AppState.h"

namespace olvane::ui {

class ExtensionStatusSection;
class TextRowButton;

// The content of the menu-bar popover: "Ouvrir Olvane", the extension status, "Quitter".
class MenuBarStatusView final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidth = 260;

    MenuBarStatusView(AppState& appState, std::function<void()> onOpenMainWindow,
                      std::function<void()> onQuit, QWidget* parent = nullptr);

    TextRowButton* openRow() const { return openRow_; }
    TextRowButton* quitRow() const { return quitRow_; }
    ExtensionStatusSection* extensionStatus() const { return extensionStatus_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    TextRowButton* openRow_;
    TextRowButton* quitRow_;
    ExtensionStatusSection* extensionStatus_;
};

}  // namespace olvane::ui
