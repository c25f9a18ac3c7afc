#pragma once

#include <QWidget>

#include "app/AppState.h"
#include "ui/pages/extensions/ExtensionsViewModel.h"

namespace olvane::ui {

class BrowserExtensionList;

// The Extensions page: its header and the list of browser cards.
class ExtensionsView final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kListPaddingH = 16;

    ExtensionsView(AppState& appState, ExtensionsViewModel::Collaborators collaborators,
                   QWidget* parent = nullptr);

    BrowserExtensionList* list() const { return list_; }

  protected:
    // White, as the window behind it, also where it is shown on its own.
    void paintEvent(QPaintEvent* event) override;

  private:
    BrowserExtensionList* list_;
};

}  // namespace olvane::ui
