#pragma once

#include <QWidget>
#include <functional>
#include <map>

#include "app/AppState.h"
#include "platform/Handle.h"

class QLabel;

namespace olvane::ui {

class StatusDot;
class TextRowButton;

// Each browser's extension status, as AppState holds it, and, when the owner gives one, a button
// that leads to the management of the extensions.
class ExtensionStatusSection final : public QWidget {
    Q_OBJECT

  public:
    explicit ExtensionStatusSection(AppState& appState,
                                    std::function<void()> onManageExtensions = {},
                                    QWidget* parent = nullptr);

    // The status text shown for a browser ("Connectée", "Non connectée", "Connexion…").
    QString statusText(BrowserType browser) const;
    TextRowButton* manageButton() const { return manageButton_; }

    static QString textFor(ExtensionStatus status);

  private:
    struct Row {
        StatusDot* dot;
        QLabel* status;
    };
    void refresh();

    AppState& appState_;
    std::map<BrowserType, Row> rows_;
    TextRowButton* manageButton_ = nullptr;
    platform::Handle observation_;
};

}  // namespace olvane::ui
