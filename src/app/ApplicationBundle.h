#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/Paths.h"
#include "platform/RunningProgram.h"

namespace olvane {

// What the uninstall sends to the trash: the installed application, never a build tree. On this
// platform the application is an AppImage, a folder of its own named "OlvaneMac", or our four
// programs side by side in a shared folder; its desktop entry in the user's data folder goes
// with it. A folder installed as `<prefix>/lib/OlvaneMac` takes along what the install put
// beside it under the prefix: its desktop entry, its icons and its GNOME Shell extension.
class ApplicationBundle {
  public:
    // `program`: the running executable; `appImage`: the AppImage it runs from, if any.
    static ApplicationBundle locate(const std::filesystem::path& program,
                                    const std::optional<std::filesystem::path>& appImage,
                                    const platform::Paths& paths);
    // The running process, from /proc/self/exe, $APPIMAGE and $APPDIR.
    static ApplicationBundle ofRunningProgram(const platform::Paths& paths);
    // The AppImage `program` runs from: `appImage` ($APPIMAGE), only when `program` lies inside
    // `appDir` ($APPDIR, where the AppImage's runtime mounted it). A child of an AppImage inherits
    // both variables while it runs from elsewhere: then it is no AppImage.
    static std::optional<std::filesystem::path> trustedAppImage(
        const std::filesystem::path& program, const char* appImage, const char* appDir);

    // One of our programs beside `program`; for a program that runs from `buildTree`, the one
    // that tree built (`buildFolder`: its folder under src/) when none is beside. The place
    // beside when neither is there.
    static std::filesystem::path companionProgram(
        std::string_view name, std::string_view buildFolder,
        const std::filesystem::path& program = platform::runningProgram(),
        const std::filesystem::path& buildTree = platform::compiledBuildTree());

    // Set when the program runs from a build tree: then nothing is to be trashed.
    const std::optional<std::filesystem::path>& buildTree() const { return buildTree_; }
    // The application first, then its desktop entries.
    const std::vector<std::filesystem::path>& items() const { return items_; }
    // Its icons in the icon theme: removed rather than trashed, as nobody restores an icon alone.
    const std::vector<std::filesystem::path>& icons() const { return icons_; }
    // Its GNOME Shell extension, among the items, when the install put one beside it.
    const std::optional<std::filesystem::path>& gnomeExtension() const { return gnomeExtension_; }

  private:
    void addInstalledBeside(const std::filesystem::path& folder);

    std::optional<std::filesystem::path> buildTree_;
    std::vector<std::filesystem::path> items_;
    std::vector<std::filesystem::path> icons_;
    std::optional<std::filesystem::path> gnomeExtension_;
};

}  // namespace olvane
