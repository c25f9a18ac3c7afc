#pragma once

#include <QString>

namespace olvane::ui {

// The fonts the interface brings along. Call registerApplicationFonts() once, after the
// QGuiApplication exists and before anything is drawn.
class FontLibrary {
  public:
    // Loads the symbol font from the application's resources and checks that the Inter family is
    // installed; logs what is missing. True when both are there.
    static bool registerApplicationFonts();
    // The family of the symbol font; empty while it is not loaded (symbols are then painted).
    static QString symbolFamily();
};

}  // namespace olvane::ui
