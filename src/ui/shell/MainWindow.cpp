#include "ui/shell/MainWindow.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

#include "ui/foundation/MainWindowView.h"
#include "ui/shell/WindowPlacement.h"

namespace olvane::ui {

MainWindow::MainWindow(AppState& appState, PageFactory& pages)
    : QWidget(nullptr, Qt::Window), view_(new MainWindowView(appState, pages, this)) {
    setWindowTitle(QStringLiteral("Olvane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setMinimumSize(MainWindowView::kMinimumWidth, MainWindowView::kMinimumHeight);
    placeOnScreen();
}

// A window larger than the screen would hide its right edge and its close button, and one placed
// before a window manager runs would keep its title bar above the screen.
void MainWindow::placeOnScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const auto frame =
        screen ? WindowPlacement::centred(screen->availableGeometry(), kDefaultSize, minimumSize())
               : std::nullopt;
    if (!frame) {
        resize(kDefaultSize);
        return;
    }
    resize(frame->size());
    move(frame->topLeft());
}

void MainWindow::bringForward() {
    if (isMinimized()) {
        showNormal();
    } else {
        show();
    }
    raise();
    activateWindow();
}

}  // namespace olvane::ui
