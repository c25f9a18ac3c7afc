#pragma once

#include <QImage>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/foundation/ApplicationEntry.h"

namespace olvane::ui {

// Where the installed applications are found and how the icons their entries name are drawn.
class ApplicationCatalogue {
  public:
    virtual ~ApplicationCatalogue() = default;

    // Every offered application, the first entry of each ID only, in the order found.
    // Unreadable folders are logged and passed over.
    virtual std::vector<ApplicationEntry> listApplications() const = 0;
    // The entry that owns `id`, offered or not. Safe on any thread.
    virtual std::optional<ApplicationEntry> findApplication(std::string_view id) const = 0;
    // Whether themeIcon(name) reads only regular files, so that it cannot wait on a FIFO or a
    // device. Safe on any thread, yet it looks at the disk: not on the main thread.
    virtual bool themeIconIsReadable(const std::string& name) const = 0;
    // The icon of the theme called `name`, about `pixelSize` pixels wide; null when the theme
    // has none. Main thread only.
    virtual QImage themeIcon(const std::string& name, int pixelSize) const = 0;
};

}  // namespace olvane::ui
