#pragma once

#include "ui/foundation/PageFactory.h"

namespace olvane::ui {

// The frame of every page that is not built yet: its page margins and its header, nothing else.
// The home page shows its welcome block.
class PageFrames final : public PageFactory {
  public:
    std::unique_ptr<QWidget> createPage(NavigationItem item) override;
    std::unique_ptr<QWidget> createUninstallProgress() override;
    std::unique_ptr<QWidget> createWebExtensionPrompt(std::function<void()> openExtensions,
                                                      std::function<void()> dismiss) override;

    // The page frame with the page margins around `header`.
    static std::unique_ptr<QWidget> framedPage(QWidget* header);
};

}  // namespace olvane::ui
