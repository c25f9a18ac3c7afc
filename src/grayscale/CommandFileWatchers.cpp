#include "grayscale/CommandFileWatchers.h"

namespace olvane {
namespace {

namespace fs = std::filesystem;

constexpr CommandFileWatcherMessages kGrayscaleMessages{
    "Surveillance du fichier de commandes démarrée",
    "Impossible d'ouvrir le fichier de commandes pour surveillance",
    "Fichier de commandes renommé/supprimé, recréation du watcher"};
constexpr CommandFileWatcherMessages kFullscreenMessages{
    "Surveillance du fichier de commandes fullscreen démarrée",
    "Impossible d'ouvrir le fichier de commandes fullscreen pour surveillance",
    "Fichier fullscreen renommé/supprimé, recréation du watcher"};
constexpr CommandFileWatcherMessages kGroupGrayscaleMessages{
    "Surveillance Group Container grayscale-command démarrée", {}, {}};
constexpr CommandFileWatcherMessages kGroupFullscreenMessages{
    "Surveillance Group Container fullscreen-command démarrée", {}, {}};

template <typename Command>
std::optional<Command> readFreshCommand(const fs::path& file, double now) {
    const auto object = exchange::readJsonObject(file);
    if (!object) {
        return std::nullopt;
    }
    auto command = Command::fromJson(*object);
    if (!command || !command->isFresh(now)) {
        return std::nullopt;
    }
    return command;
}

}  // namespace

CommandFileWatchers::CommandFileWatchers(platform::RunLoop& loop, const platform::Clock& clock,
                                         platform::FileWatcher& files, const fs::path& dataFolder,
                                         const std::optional<fs::path>& sharedContainer,
                                         GrayscaleHandler onGrayscale,
                                         FullscreenHandler onFullscreen)
    : clock_(clock),
      onGrayscale_(std::move(onGrayscale)),
      onFullscreen_(std::move(onFullscreen)),
      grayscale_(loop, files, dataFolder / exchange::kGrayscaleCommandFile, kGrayscaleMessages,
                 [this] { readGrayscale(grayscale_.file(), CommandOrigin::DataFolder); }),
      fullscreen_(loop, files, dataFolder / exchange::kFullscreenCommandFile, kFullscreenMessages,
                  [this] { readFullscreen(fullscreen_.file(), CommandOrigin::DataFolder); }) {
    if (!sharedContainer) {
        return;
    }
    groupGrayscale_.emplace(
        loop, files, *sharedContainer / exchange::kGrayscaleCommandFile, kGroupGrayscaleMessages,
        [this] { readGrayscale(groupGrayscale_->file(), CommandOrigin::SharedContainer); });
    groupFullscreen_.emplace(
        loop, files, *sharedContainer / exchange::kFullscreenCommandFile, kGroupFullscreenMessages,
        [this] { readFullscreen(groupFullscreen_->file(), CommandOrigin::SharedContainer); });
}

void CommandFileWatchers::start() {
    grayscale_.start();
    fullscreen_.start();
    if (groupGrayscale_) {
        groupGrayscale_->start();
    }
    if (groupFullscreen_) {
        groupFullscreen_->start();
    }
}

void CommandFileWatchers::stop() {
    grayscale_.stop();
    fullscreen_.stop();
    if (groupGrayscale_) {
        groupGrayscale_->stop();
    }
    if (groupFullscreen_) {
        groupFullscreen_->stop();
    }
}

void CommandFileWatchers::readGrayscale(const fs::path& file, CommandOrigin origin) const {
    if (auto command = readFreshCommand<exchange::GrayscaleCommand>(file, clock_.unixNow())) {
        onGrayscale_(*command, origin);
    }
}

void CommandFileWatchers::readFullscreen(const fs::path& file, CommandOrigin origin) const {
    if (auto command = readFreshCommand<exchange::FullscreenCommand>(file, clock_.unixNow())) {
        onFullscreen_(*command, origin);
    }
}

}  // namespace olvane
