#pragma once

#include <QString>

namespace olvane::ui {

// The fonts the interface brings along, once the QGuiApplication exists. The symbol font loads
// when the first symbol is drawn; the check of the installed fonts may wait until after the start.
class FontLibrary {
  public:
    // Loads the symbol font from the application's resources and checks that the Inter family is
    // installed; logs what is missing. True when both are there.
    static bool registerApplicationFonts();
    // The family of the symbol font, loaded at the first call; empty when it cannot be loaded
    // (symbols are then painted).
    static QString symbolFamily();
};

}  // namespace olvane::ui
