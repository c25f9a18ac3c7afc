#pragma once

#include <QKeySequence>
#include <QPointer>
#include <QShortcut>
#include <QWidget>
#include <functional>
#include <vector>

#include "app/AppState.h"
#include "platform/Handle.h"
#include "ui/configurateur/BottomActionsRules.h"

namespace olvane {
class ConfigurateurViewModel;
}

namespace olvane::ui {

class LabelButton;
class ConfiguratorProgressBar;

// The bar at the foot of the wizard: "Précédent", the progress and the way forward; on the recap
// "Activer ma configuration" instead. Its keys are shortcuts of the page, switched screen by
// screen; while a sheet is open over the window they are the sheet's.
class ConfiguratorBottomActions final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kIndicatorSide = 16;
    static constexpr int kCurrentDotSide = 6;

    // `page` carries the shortcuts.
    ConfiguratorBottomActions(ConfigurateurViewModel& viewModel, AppState& appState, QWidget& page,
                              QWidget* parent = nullptr);
    ~ConfiguratorBottomActions() override;

    bool hasSelection() const;
    // Escape on the recap: towards the home page, through the exit confirmation when something
    // changed.
    void laterAction();

    BottomActionsRules::Layout layout() const { return layout_; }
    LabelButton* backButton() const { return back_; }
    // Null where the screen has none.
    LabelButton* forwardButton() const;
    LabelButton* activateButton() const;
    ConfiguratorProgressBar* progressBar() const { return progress_; }
    // The keys answered now.
    BottomActionsRules::Shortcuts enabledShortcuts() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void refresh();
    QShortcut* shortcut(QWidget& page, const QList<QKeySequence>& keys,
                        std::function<void()> action);

    ConfigurateurViewModel& viewModel_;
    AppState& appState_;
    BottomActionsRules::Layout layout_ = BottomActionsRules::Layout::none;
    LabelButton* back_;
    LabelButton* forward_;
    LabelButton* activate_;
    ConfiguratorProgressBar* progress_;
    QPointer<QShortcut> left_;
    QPointer<QShortcut> right_;
    QPointer<QShortcut> return_;
    QPointer<QShortcut> escape_;
    std::vector<platform::Handle> observations_;
};

}  // namespace olvane::ui
