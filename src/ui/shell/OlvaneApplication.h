#pragma once

namespace olvane::ui {

// The program: one Qt application with its run loop, the shared AppState, the main window and
// the menu-bar item; start-up when it begins, the clean shutdown from aboutToQuit, which
// "Quitter", SIGTERM and SIGINT all reach. Returns the exit status.
int runOlvaneApplication(int argc, char** argv);

}  // namespace olvane::ui
