#include "platform/LoadableModule.h"

#include <dlfcn.h>

#include <system_error>
#include <utility>
#include <vector>

namespace olvane::platform {
namespace {

std::string loaderReason() {
    const char* reason = ::dlerror();
    return reason ? reason : "raison inconnue";
}

}  // namespace

LoadableModule::LoadableModule(std::string fileName, std::filesystem::path builtAt,
                               std::filesystem::path program, std::filesystem::path buildTree)
    : fileName_(std::move(fileName)),
      builtAt_(std::move(builtAt)),
      program_(std::move(program)),
      buildTree_(std::move(buildTree)) {}

void* LoadableModule::entryPoint(const char* name) {
    if (!open()) {
        return nullptr;
    }
    void* entry = ::dlsym(handle_, name);
    if (!entry) {
        failure_ = std::string(name) + " absent de " + opened_.string() + " : " + loaderReason();
    }
    return entry;
}

bool LoadableModule::open() {
    if (std::exchange(tried_, true)) {
        return handle_ != nullptr;
    }
    std::vector<std::filesystem::path> places;
    if (!program_.empty()) {
        places.push_back(program_.parent_path() / fileName_);
    }
    if (liesInside(program_, buildTree_) && liesInside(builtAt_, buildTree_)) {
        places.push_back(builtAt_);
    }
    std::string searched;
    for (const auto& path : places) {
        std::error_code error;
        if (std::filesystem::exists(path, error)) {
            handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (!handle_) {
                failure_ = "Module " + path.string() + " non chargé : " + loaderReason();
                return false;
            }
            opened_ = path;
            return true;
        }
        searched += (searched.empty() ? "" : ", ") + path.parent_path().string();
    }
    failure_ = fileName_ + " introuvable" + (searched.empty() ? "" : " dans " + searched);
    return false;
}

}  // namespace olvane::platform
