#include "ui/foundation/DesktopEntryFolders.h"

#include "model/Logger.h"
#include "platform/Status.h"

namespace olvane::ui {
namespace {

std::string localisedName(const platform::DesktopEntryKeys& keys) {
    for (const std::string_view key : {"Name[fr_FR]", "Name[fr]", "Name"}) {
        if (keys.has(key)) {
            return keys.value(key);
        }
    }
    return {};
}

ApplicationEntry applicationEntry(platform::DesktopApplicationFile file) {
    return ApplicationEntry{std::move(file.id), localisedName(file.keys), file.keys.value("Icon"),
                            !file.keys.isTrue("NoDisplay")};
}

}  // namespace

DesktopEntryFolders::DesktopEntryFolders(std::vector<std::filesystem::path> folders)
    : files_(std::move(folders)) {}

std::vector<ApplicationEntry> DesktopEntryFolders::list() const {
    std::vector<ApplicationEntry> entries;
    const auto logError = [](const std::filesystem::path& folder, const std::string& error) {
        Logger::grayscaleFilter().logError("Erreur scan " + platform::userData(folder.string()),
                                           platform::ComposedText(error));
    };
    for (auto& file : files_.list(logError)) {
        auto entry = applicationEntry(std::move(file));
        if (entry.listed) {
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

std::optional<ApplicationEntry> DesktopEntryFolders::find(std::string_view id) const {
    auto file = files_.find(id);
    if (!file) {
        return std::nullopt;
    }
    return applicationEntry(std::move(*file));
}

}  // namespace olvane::ui
