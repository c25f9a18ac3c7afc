#pragma once

#include <string_view>

namespace olvane {

class ConfigurateurViewModel;

// What the wizard's bottom bar shows and which keys it answers, screen by screen. Screens 1 and
// 13 carry their own buttons; 12, the recap, activates instead of moving on.
class BottomActionsRules {
  public:
    enum class Layout { none, progress, recap };

    struct Shortcuts {
        bool left = false;
        bool right = false;
        bool returnKey = false;
        bool escape = false;

        bool operator==(const Shortcuts&) const = default;
    };

    static Layout layout(int screen);
    // Only the screens that gather or set something move on with a button: not 2, which asks
    // its own question.
    static bool showsForward(int screen);
    // Whether the screen holds an answer already, which turns "Plus tard" into "Suivant".
    static bool hasSelection(const ConfigurateurViewModel& model);
    static std::string_view forwardLabel(bool hasSelection);
    static Shortcuts shortcuts(int screen);
};

}  // namespace olvane
