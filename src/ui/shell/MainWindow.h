#pragma once

#include <QWidget>

#include "app/AppState.h"
#include "ui/foundation/PageFactory.h"

namespace olvane::ui {

class MainWindowView;

// The application's only main window. Closing it only hides it: the application keeps running
// in the menu bar, and "Ouvrir Olvane" brings the same window back.
class MainWindow final : public QWidget {
    Q_OBJECT

  public:
    static constexpr QSize kDefaultSize{1100, 700};

    MainWindow(AppState& appState, PageFactory& pages);

    MainWindowView* view() const { return view_; }
    // Shows the window (restoring it when minimised), raises it and gives it the focus.
    void bringForward();

  private:
    void placeOnScreen();

    MainWindowView* view_;
};

}  // namespace olvane::ui
