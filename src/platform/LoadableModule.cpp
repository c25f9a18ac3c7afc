#include "platform/LoadableModule.h"

#include <dlfcn.h>

#include <system_error>
#include <utility>

namespace olvane::platform {
namespace {

std::filesystem::path besideProgram(const std::string& fileName) {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program.parent_path() / fileName;
}

}  // namespace

LoadableModule::LoadableModule(std::string fileName, std::filesystem::path builtAt)
    : fileName_(std::move(fileName)), builtAt_(std::move(builtAt)) {}

void* LoadableModule::entryPoint(const char* name) {
    if (!open()) {
        return nullptr;
    }
    void* entry = ::dlsym(handle_, name);
    if (!entry) {
        failure_ = std::string(name) + " absent de " + fileName_;
    }
    return entry;
}

bool LoadableModule::open() {
    if (std::exchange(tried_, true)) {
        return handle_ != nullptr;
    }
    for (const auto& path : {besideProgram(fileName_), builtAt_}) {
        std::error_code error;
        if (!path.empty() && std::filesystem::exists(path, error)) {
            handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (handle_) {
                return true;
            }
            failure_ = ::dlerror();
            return false;
        }
    }
    failure_ = fileName_ + " introuvable";
    return false;
}

}  // namespace olvane::platform
