#include "platform/WindowClassApplications.h"

#include <algorithm>

namespace olvane::platform {
namespace {

std::string asciiLowercased(std::string_view text) {
    std::string lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return lowered;
}

// When each folder that may hold entries last changed, and how many names it holds: an entry
// added, removed or renamed changes both (the count even within the clock's granularity), and
// editors save by renaming over.
using Stamp = std::vector<std::pair<std::filesystem::file_time_type, std::size_t>>;

void addFolderStamps(const std::filesystem::path& folder, int depth, Stamp& stamp) {
    std::error_code ec;
    const auto changed = std::filesystem::last_write_time(folder, ec);
    if (ec) {
        stamp.emplace_back();
        return;
    }
    std::vector<std::filesystem::path> subfolders;
    std::size_t names = 0;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        ++names;
        if (depth < DesktopApplicationFiles::kMaximumDepth && it->is_directory(ec)) {
            subfolders.push_back(it->path());
        }
    }
    stamp.emplace_back(changed, names);
    for (const auto& subfolder : subfolders) {
        addFolderStamps(subfolder, depth + 1, stamp);
    }
}

Stamp folderStamp(const std::vector<std::filesystem::path>& folders) {
    Stamp stamp;
    for (const auto& folder : folders) {
        addFolderStamps(folder, 0, stamp);
    }
    return stamp;
}

}  // namespace

bool WindowClassApplications::foldersChanged() const {
    return folderStamp(files_.folders()) != stamp_;
}

WindowClassApplications::WindowClassApplications(std::vector<std::filesystem::path> folders)
    : files_(std::move(folders)) {}

std::optional<std::string> WindowClassApplications::applicationId(std::string_view windowClass,
                                                                  std::string_view instance) {
    if (windowClass.empty() && instance.empty()) {
        return std::nullopt;
    }
    if (!read_ || (!match(windowClass, instance) && foldersChanged())) {
        readEntries();
    }
    return match(windowClass, instance);
}

std::optional<std::string> WindowClassApplications::match(std::string_view windowClass,
                                                          std::string_view instance) const {
    for (const auto name : {windowClass, instance}) {
        if (const auto found = idByStartupClass_.find(name); found != idByStartupClass_.end()) {
            return found->second;
        }
    }
    for (const auto& name : {std::string(windowClass), std::string(instance),
                             asciiLowercased(windowClass), asciiLowercased(instance)}) {
        if (!name.empty() && ids_.contains(name)) {
            return name;
        }
    }
    return std::nullopt;
}

void WindowClassApplications::readEntries() {
    read_ = true;
    stamp_ = folderStamp(files_.folders());
    idByStartupClass_.clear();
    ids_.clear();
    for (auto& file : files_.list()) {
        if (const auto startupClass = file.keys.value("StartupWMClass"); !startupClass.empty()) {
            idByStartupClass_.emplace(startupClass, file.id);  // the first entry found wins
        }
        ids_.insert(std::move(file.id));
    }
}

}  // namespace olvane::platform
