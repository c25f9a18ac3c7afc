#include "ui/configurateur/BottomActionsRules.h"

#include "ui/configurateur/ConfigurateurViewModel.h"

namespace olvane {
namespace {

constexpr int kFirstWithBar = 2;
constexpr int kFirstForward = 3;
constexpr int kLastForward = 11;

}  // namespace

BottomActionsRules::Layout BottomActionsRules::layout(int screen) {
    if (screen == ConfigurateurViewModel::kRecapScreen) {
        return Layout::recap;
    }
    if (screen >= kFirstWithBar && screen < ConfigurateurViewModel::kRecapScreen) {
        return Layout::progress;
    }
    return Layout::none;
}

bool BottomActionsRules::showsForward(int screen) {
    return screen >= kFirstForward && screen <= kLastForward;
}

bool BottomActionsRules::hasSelection(const ConfigurateurViewModel& model) {
    switch (model.currentScreenIndex()) {
        case 3:
            return !model.grayscaleAllowedAppsDraft().empty();
        case 4:
            return !model.grayscaleAllowedSitesDraft().empty();
        case 5:
            return !model.appTargets().empty();
        case 6:
            return !model.websiteTargets().empty();
        case 7:
        case 8:
        case 9:
        case 10:
        case 11:
            return true;
        default:
            return false;
    }
}

std::string_view BottomActionsRules::forwardLabel(bool hasSelection) {
    return hasSelection ? "Suivant" : "Plus tard";
}

BottomActionsRules::Shortcuts BottomActionsRules::shortcuts(int screen) {
    switch (layout(screen)) {
        case Layout::recap:
            return {.left = true, .right = false, .returnKey = true, .escape = true};
        case Layout::progress:
            return {
                .left = true, .right = showsForward(screen), .returnKey = false, .escape = false};
        case Layout::none:
            break;
    }
    return {};
}

}  // namespace olvane
