#pragma once

#include "ui/pages/extensions/UrlOpener.h"

namespace olvane::ui {

// The desktop's own handler for addresses (xdg-open and its kind, through Qt).
class DesktopUrlOpener final : public UrlOpener {
  public:
    void openUrl(const std::string& address) override;
};

}  // namespace olvane::ui
