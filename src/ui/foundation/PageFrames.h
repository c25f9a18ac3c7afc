#pragma once

#include "ui/foundation/PageFactory.h"
#include "ui/foundation/PageFrame.h"

namespace olvane::ui {

// The frame of every page that is not built yet: its page margins and its header, nothing else;
// the home page, which has no header, is empty.
class PageFrames final : public PageFactory {
  public:
    std::unique_ptr<QWidget> createPage(NavigationItem item);
    std::unique_ptr<QWidget> createPage(NavigationItem item, WindowWidth&) override {
        return createPage(item);
    }
    std::unique_ptr<QWidget> createUninstallProgress() override;
    std::unique_ptr<QWidget> createWebExtensionPrompt(std::function<void()> openExtensions,
                                                      std::function<void()> dismiss) override;

    // The page frame with the page margins around `header`.
    static std::unique_ptr<PageFrame> framedPage(QWidget* header);
};

}  // namespace olvane::ui
