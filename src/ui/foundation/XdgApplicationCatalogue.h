#pragma once

#include "platform/Paths.h"
#include "ui/foundation/ApplicationCatalogue.h"
#include "ui/foundation/DesktopEntryFolders.h"
#include "ui/foundation/IconThemeFiles.h"

namespace olvane::ui {

// The applications of the desktop: the desktop entries of $XDG_DATA_HOME/applications, then of
// "applications" in each folder of $XDG_DATA_DIRS, and the icons of the desktop's icon theme.
class XdgApplicationCatalogue final : public ApplicationCatalogue {
  public:
    // Where no desktop theme tells Qt where icons live (offscreen, a bare window manager), the
    // freedesktop folders of `paths` and the "hicolor" theme stand in. Main thread.
    explicit XdgApplicationCatalogue(const platform::Paths& paths);

    std::vector<ApplicationEntry> listApplications() const override { return folders_.list(); }
    std::optional<ApplicationEntry> findApplication(std::string_view id) const override {
        return folders_.find(id);
    }
    bool themeIconIsReadable(const std::string& name) const override {
        return themeFiles_.onlyRegularFiles(name);
    }
    QImage themeIcon(const std::string& name, int pixelSize) const override;

  private:
    DesktopEntryFolders folders_;
    IconThemeFiles themeFiles_;
};

}  // namespace olvane::ui
