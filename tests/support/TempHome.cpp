#include "support/TempHome.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace olvane::test {
namespace {

const char* const kVariables[] = {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME",
                                  "XDG_RUNTIME_DIR"};

}  // namespace

TempHome::TempHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "olvane-home-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data())) {
        throw std::runtime_error("mkdtemp failed");
    }
    root_ = buffer.data();
    for (const char* name : kVariables) {
        const char* value = std::getenv(name);
        saved_[name] = value ? std::optional<std::string>(value) : std::nullopt;
    }
    std::filesystem::create_directories(root_ / "runtime");
    ::chmod((root_ / "runtime").c_str(), 0700);
    ::setenv("HOME", root_.c_str(), 1);
    ::unsetenv("XDG_DATA_HOME");
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_CACHE_HOME");
    ::setenv("XDG_RUNTIME_DIR", (root_ / "runtime").c_str(), 1);
}

TempHome::~TempHome() {
    for (const auto& [name, value] : saved_) {
        if (value) {
            ::setenv(name.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(name.c_str());
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

std::map<std::string, std::string> TempHome::environment() const {
    return {{"HOME", root_.string()}, {"XDG_RUNTIME_DIR", (root_ / "runtime").string()}};
}

unsigned permissionsOf(const std::filesystem::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) {
        return 0;
    }
    return st.st_mode & 07777;
}

}  // namespace olvane::test
