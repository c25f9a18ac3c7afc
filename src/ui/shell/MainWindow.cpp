#include "ui/shell/MainWindow.h"

#include <QVBoxLayout>

#include "ui/foundation/MainWindowView.h"

namespace olvane::ui {

MainWindow::MainWindow(AppState& appState, PageFactory& pages)
    : QWidget(nullptr, Qt::Window), view_(new MainWindowView(appState, pages, this)) {
    setWindowTitle(QStringLiteral("Olvane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setMinimumSize(MainWindowView::kMinimumWidth, MainWindowView::kMinimumHeight);
    resize(kDefaultSize);
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
