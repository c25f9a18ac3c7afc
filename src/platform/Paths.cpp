#include "platform/Paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>

namespace olvane::platform {
namespace {

namespace fs = std::filesystem;

// XDG variables count only when they hold an absolute path.
std::optional<fs::path> absoluteVariable(const Paths::Environment& env, const std::string& name) {
    const auto value = env(name);
    if (!value || value->empty() || value->front() != '/') {
        return std::nullopt;
    }
    return fs::path(*value);
}

fs::path homeFolder(const Paths::Environment& env) {
    if (auto home = absoluteVariable(env, "HOME")) {
        return *home;
    }
    if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) {
        return fs::path(pw->pw_dir);
    }
    return fs::path("/");
}

// XDG_DATA_DIRS: a colon-separated list; relative entries are ignored.
std::vector<fs::path> dataDirectories(const Paths::Environment& env) {
    std::vector<fs::path> folders;
    const auto value = env("XDG_DATA_DIRS");
    const std::string list = value && !value->empty() ? *value : "/usr/local/share:/usr/share";
    std::string_view rest = list;
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const auto item = rest.substr(0, colon);
        if (!item.empty() && item.front() == '/') {
            folders.emplace_back(item);
        }
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    }
    return folders;
}

}  // namespace

Paths::Paths(const Environment& environment)
    : home_(homeFolder(environment)),
      dataHome_(absoluteVariable(environment, "XDG_DATA_HOME").value_or(home_ / ".local/share")),
      configHome_(absoluteVariable(environment, "XDG_CONFIG_HOME").value_or(home_ / ".config")),
      cacheHome_(absoluteVariable(environment, "XDG_CACHE_HOME").value_or(home_ / ".cache")),
      dataDirs_(dataDirectories(environment)),
      runtimeDir_(absoluteVariable(environment, "XDG_RUNTIME_DIR")) {}

Paths Paths::fromProcessEnvironment() {
    return Paths([](const std::string& name) -> std::optional<std::string> {
        if (const char* value = std::getenv(name.c_str())) {
            return std::string(value);
        }
        return std::nullopt;
    });
}

fs::path Paths::runtimeFolder() const {
    // Without a session runtime folder, a private folder under the cache stands in.
    return runtimeDir_ ? *runtimeDir_ / "OlvaneMac" : cacheHome_ / "OlvaneMac" / "runtime";
}

std::vector<fs::path> Paths::applicationEntryFolders() const {
    std::vector<fs::path> folders{dataHome_ / "applications"};
    for (const auto& folder : dataDirs_) {
        folders.push_back(folder / "applications");
    }
    return folders;
}

Status ensurePrivateFolder(const fs::path& folder) {
    if (folder.empty()) {
        return Status::failure("Chemin vide");
    }
    std::error_code ec;
    if (fs::is_directory(folder, ec)) {
        return Status::success();
    }
    if (folder.has_parent_path() && folder.parent_path() != folder) {
        if (auto parent = ensurePrivateFolder(folder.parent_path()); !parent) {
            return parent;
        }
    }
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        return errnoFailure("Impossible de créer le dossier " + quotedPath(folder), errno);
    }
    return fs::is_directory(folder, ec)
               ? Status::success()
               : Status::failure(quotedPath(folder) + " n’est pas un dossier");
}

}  // namespace olvane::platform
