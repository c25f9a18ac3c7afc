#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "app/NavigationItem.h"
#include "ui/foundation/WindowWidth.h"

namespace olvane::ui {

// Builds the pages of the main window. The window asks for a new page each time one is
// selected, so a page and its view model start from the stored settings again.
class PageFactory {
  public:
    virtual ~PageFactory() = default;

    // `windowWidth` is the main window's, for the pages that follow it.
    virtual std::unique_ptr<QWidget> createPage(NavigationItem item, WindowWidth& windowWidth) = 0;
    // Shown alone while an uninstall runs.
    virtual std::unique_ptr<QWidget> createUninstallProgress() = 0;
    // The sheet that asks for the browser extension; `openExtensions` closes it and goes to the
    // Extensions page. Null while no such sheet exists.
    virtual std::unique_ptr<QWidget> createWebExtensionPrompt(std::function<void()> openExtensions,
                                                              std::function<void()> dismiss) = 0;
};

}  // namespace olvane::ui
