#pragma once

#include <QScrollArea>
#include <QStringList>
#include <functional>

#include "app/AppState.h"
#include "platform/Handle.h"
#include "platform/Observable.h"
#include "platform/RunLoop.h"

namespace olvane::ui {

class HoverableIconButton;
class LabelButton;
class ThemedTextField;

// The last step before an uninstall: what it does, and a sentence to retype before the button
// wakes. Confirming marks the uninstall as under way, closes the sheet and starts the uninstall
// on the next turn of the loop, once the sheet is gone.
class UninstallConfirmationSheet final : public QScrollArea {
    Q_OBJECT

  public:
    struct Collaborators {
        AppState& appState;
        platform::RunLoop& loop;
        std::function<void()> uninstall;
    };

    static constexpr int kWidth = 500;
    static constexpr int kMaxHeight = 720;
    static constexpr double kFocusDelaySeconds = 0.1;

    static QStringList uninstallConsequences();

    UninstallConfirmationSheet(platform::Observable<bool>& isPresented, Collaborators collaborators,
                               QWidget* parent = nullptr);

    // Afresh from the typed text at each call.
    bool isPhraseMatching() const;
    void confirmUninstall();

    ThemedTextField* field() const { return field_; }
    LabelButton* uninstallButton() const { return uninstall_; }
    LabelButton* cancelButton() const { return cancel_; }
    HoverableIconButton* closeButton() const { return close_; }

    QSize sizeHint() const override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QWidget* buildContent();
    QWidget* buildHeader(QWidget* parent);
    QWidget* buildConsequences(QWidget* parent);
    QWidget* buildPrompt(QWidget* parent);
    QWidget* buildField(QWidget* parent);
    QLayout* buildButtons(QWidget* parent);
    void phraseChanged();

    platform::Observable<bool>& isPresented_;
    Collaborators c_;
    ThemedTextField* field_ = nullptr;
    LabelButton* uninstall_ = nullptr;
    LabelButton* cancel_ = nullptr;
    HoverableIconButton* close_ = nullptr;
    platform::Handle focusTimer_;
};

}  // namespace olvane::ui
