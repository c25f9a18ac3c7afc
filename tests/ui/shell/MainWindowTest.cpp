#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QScreen>
#include <QTimer>

#include "platform/sim/SimSystemTray.h"
#include "ui/UiTestSupport.h"
#include "ui/foundation/MainWindowView.h"
#include "ui/foundation/PageFrames.h"
#include "ui/shell/ApplicationShell.h"
#include "ui/shell/MainWindow.h"
#include "ui/shell/WindowPlacement.h"

namespace olvane::ui {
namespace {

int mainWindowsAlive() {
    int count = 0;
    for (auto* widget : QApplication::topLevelWidgets()) {
        count += qobject_cast<MainWindow*>(widget) ? 1 : 0;
    }
    return count;
}

TEST(MainWindow, HasTheSizesOfTheApplicationWindow) {
    AppState appState;
    PageFrames pages;
    MainWindow window(appState, pages);
    EXPECT_EQ(window.minimumSize(), QSize(970, 670));
    EXPECT_EQ(window.windowTitle(), "Olvane");
    EXPECT_EQ(window.geometry(),
              WindowPlacement::centred(QGuiApplication::primaryScreen()->availableGeometry(),
                                       MainWindow::kDefaultSize, window.minimumSize()));
}

TEST(MainWindow, OpensCentredAndNoLargerThanTheScreen) {
    const QSize wanted(1100, 700);
    const QSize minimum(970, 670);
    EXPECT_EQ(WindowPlacement::centred({0, 0, 1440, 900}, wanted, minimum),
              QRect(170, 100, 1100, 700));
    EXPECT_EQ(WindowPlacement::centred({0, 0, 1024, 768}, wanted, minimum),
              QRect(0, 34, 1024, 700));
    // A panel above, on a second screen to the right.
    EXPECT_EQ(WindowPlacement::centred({1440, 30, 1024, 738}, wanted, minimum),
              QRect(1440, 49, 1024, 700));
    EXPECT_EQ(WindowPlacement::centred({0, 0, 800, 600}, wanted, minimum), QRect(0, 0, 970, 670));
    EXPECT_EQ(WindowPlacement::centred({}, wanted, minimum), std::nullopt);
}

TEST(ApplicationShell, TheWindowComesBackAfterBeingClosed) {
    AppState appState;
    PageFrames pages;
    platform::sim::SimSystemTray tray;
    ApplicationShell shell(appState, pages, tray);
    shell.showMainWindow();
    MainWindow* window = &shell.mainWindow();
    ASSERT_TRUE(window->isVisible());

    window->close();
    EXPECT_FALSE(window->isVisible());
    appState.selectedNavigationItem.set(NavigationItem::guide);

    shell.showMainWindow();
    shell.showMainWindow();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(&shell.mainWindow(), window);
    EXPECT_EQ(mainWindowsAlive(), 1);
    // The same window, still following the state while it was hidden.
    EXPECT_EQ(window->view()->currentPage()->objectName(), "guide");

    window->showMinimized();
    shell.showMainWindow();
    EXPECT_FALSE(window->isMinimized());
}

// A top-level window that will not close, as a desktop integration may keep one.
class StubbornWindow : public QWidget {
  protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

TEST(ApplicationShell, QuitEndsTheLoopWhateverTheWindowsSay) {
    AppState appState;
    PageFrames pages;
    platform::sim::SimSystemTray tray;
    ApplicationShell shell(appState, pages, tray);
    shell.showMainWindow();
    shell.mainWindow().close();
    shell.showMainWindow();
    StubbornWindow stubborn;
    stubborn.show();
    bool aboutToQuit = false;
    const auto connection =
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [&] { aboutToQuit = true; });

    shell.quitApp();  // asked before the loop runs
    QTimer::singleShot(10'000, [] { QCoreApplication::exit(2); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(aboutToQuit);
    QObject::disconnect(connection);
}

TEST(ApplicationShell, PictureOfTheMainWindow) {
    AppState appState;
    PageFrames pages;
    platform::sim::SimSystemTray tray;
    ApplicationShell shell(appState, pages, tray);
    appState.extensionStatus.set({{BrowserType::firefox, ExtensionStatus::connected},
                                  {BrowserType::safari, ExtensionStatus::browserNotRunning},
                                  {BrowserType::chrome, ExtensionStatus::connecting}});
    shell.showMainWindow();
    EXPECT_TRUE(test::saveArtefact(shell.mainWindow(), "main-window"));
    appState.selectedNavigationItem.set(NavigationItem::grayscaleFilter);
    EXPECT_TRUE(test::saveArtefact(shell.mainWindow(), "main-window-monochrome"));
}

}  // namespace
}  // namespace olvane::ui
