#pragma once

#include <QWidget>

#include "app/AppState.h"
#include "ui/pages/extensions/ExtensionsViewModel.h"

namespace olvane::ui {

class BrowserExtensionList;
class LabelButton;

// The last screen, after an activation that needs a browser extension: the browser cards of the
// Extensions page, with a model of their own, and "Terminer", which goes home.
class Screen13_Extensions final : public QWidget {
    Q_OBJECT

  public:
    Screen13_Extensions(AppState& appState, ExtensionsViewModel::Collaborators extensions,
                        QWidget* parent = nullptr);

    BrowserExtensionList* extensionList() const { return list_; }
    LabelButton* finishButton() const { return finish_; }

    // "Terminer": the home page, straight away; the guard would let it pass in any case.
    void finish();

  private:
    AppState& appState_;
    BrowserExtensionList* list_;
    LabelButton* finish_;
};

}  // namespace olvane::ui
