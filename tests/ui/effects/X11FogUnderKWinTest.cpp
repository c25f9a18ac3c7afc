// The fog's tests of X11FogWindowTest.cpp under KWin, the window manager and compositor of KDE
// on X11, which draws every unmanaged window above all managed ones.
#include "ui/effects/X11EffectWindowsFixture.h"

int main(int argc, char** argv) {
    return olvane::ui::runOnX11(
        argc, argv, {.windowManager = true, .manager = olvane::test::XServer::WindowManager::kwin});
}
