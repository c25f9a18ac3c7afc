// The main() of the Qt tests: the application object lives for the whole run; the windows are
// drawn offscreen unless the caller chose a platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "ui/foundation/FontLibrary.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) {
        return RUN_ALL_TESTS();
    }
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    olvane::ui::FontLibrary::registerApplicationFonts();
    return RUN_ALL_TESTS();
}
