#include "platform/WindowLayers.h"

#include "platform/WindowServer.h"

namespace olvane::platform {
namespace {

// The layers of the window types above ordinary windows.
constexpr int kDockLayer = 20;
constexpr int kPopUpLayer = 101;

}  // namespace

int layerOfWindowType(std::string_view type, bool keptAbove) {
    if (type == "DOCK") {
        return kDockLayer;
    }
    if (type == "NOTIFICATION" || type == "TOOLTIP" || type == "POPUP_MENU" ||
        type == "DROPDOWN_MENU" || type == "COMBO" || type == "DND") {
        return kPopUpLayer;
    }
    if (type == "UTILITY" || type == "TOOLBAR" || type == "MENU" || type == "SPLASH" || keptAbove) {
        return kFloatingWindowLayer;
    }
    return kNormalWindowLayer;
}

}  // namespace olvane::platform
