#pragma once

#include <filesystem>
#include <functional>
#include <optional>

#include "grayscale/CommandFileWatcher.h"
#include "grayscale/CommandOrigin.h"
#include "model/exchange/ExchangeFiles.h"
#include "platform/Clock.h"

namespace olvane {

// The four command files through which the browser side suspends and restores the grayscale
// filter: the grayscale and the fullscreen command, each in the data folder and in the shared
// container. A command reaches its handler only when it is fresh; a missing, unreadable,
// malformed or stale file is passed over in silence.
class CommandFileWatchers {
  public:
    using GrayscaleHandler = std::function<void(const exchange::GrayscaleCommand&, CommandOrigin)>;
    using FullscreenHandler =
        std::function<void(const exchange::FullscreenCommand&, CommandOrigin)>;

    // Without a shared container only the two data-folder files are watched.
    CommandFileWatchers(platform::RunLoop& loop, const platform::Clock& clock,
                        platform::FileWatcher& files, const std::filesystem::path& dataFolder,
                        const std::optional<std::filesystem::path>& sharedContainer,
                        GrayscaleHandler onGrayscale, FullscreenHandler onFullscreen);
    CommandFileWatchers(const CommandFileWatchers&) = delete;
    CommandFileWatchers& operator=(const CommandFileWatchers&) = delete;

    // Data-folder grayscale, data-folder fullscreen, container grayscale, container fullscreen.
    void start();
    // All four, pending re-arms included (the uninstall, before it deletes their folders).
    void stop();

    const CommandFileWatcher& grayscale() const { return grayscale_; }
    const CommandFileWatcher& fullscreen() const { return fullscreen_; }
    const CommandFileWatcher* groupGrayscale() const { return ptr(groupGrayscale_); }
    const CommandFileWatcher* groupFullscreen() const { return ptr(groupFullscreen_); }

  private:
    static const CommandFileWatcher* ptr(const std::optional<CommandFileWatcher>& w) {
        return w ? &*w : nullptr;
    }
    void readGrayscale(const std::filesystem::path& file, CommandOrigin origin) const;
    void readFullscreen(const std::filesystem::path& file, CommandOrigin origin) const;

    const platform::Clock& clock_;
    GrayscaleHandler onGrayscale_;
    FullscreenHandler onFullscreen_;
    CommandFileWatcher grayscale_;
    CommandFileWatcher fullscreen_;
    std::optional<CommandFileWatcher> groupGrayscale_;
    std::optional<CommandFileWatcher> groupFullscreen_;
};

}  // namespace olvane
