#pragma once

#include "ui/foundation/PageFactory.h"
#include "ui/foundation/PageFrame.h"

namespace olvane::ui {

class SpacingDebugManager;

// The frame of every page that is not built yet: its page margins and its header, nothing else.
// The home page shows its welcome block; the settings page its version row, the switch of
// spacing debug.
class PageFrames final : public PageFactory {
  public:
    explicit PageFrames(SpacingDebugManager& spacingDebug);
    PageFrames();

    std::unique_ptr<QWidget> createPage(NavigationItem item) override;
    std::unique_ptr<QWidget> createUninstallProgress() override;
    std::unique_ptr<QWidget> createWebExtensionPrompt(std::function<void()> openExtensions,
                                                      std::function<void()> dismiss) override;

    // The page frame with the page margins around `header`.
    static std::unique_ptr<PageFrame> framedPage(QWidget* header);

  private:
    std::unique_ptr<QWidget> settingsFrame(std::unique_ptr<PageFrame> page);

    SpacingDebugManager& spacingDebug_;
};

}  // namespace olvane::ui
