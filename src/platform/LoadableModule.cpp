#include "platform/LoadableModule.h"

#include <dlfcn.h>

#include <system_error>
#include <utility>
#include <vector>

#include "platform/ElfBuildId.h"
#include "platform/FileIO.h"

namespace olvane::platform {
namespace {

std::string loaderReason() {
    const char* reason = ::dlerror();
    return reason ? reason : "raison inconnue";
}

}  // namespace

LoadableModule::LoadableModule(std::string fileName, std::filesystem::path builtAt,
                               std::string buildId, std::filesystem::path program,
                               std::filesystem::path buildTree)
    : fileName_(std::move(fileName)),
      builtAt_(std::move(builtAt)),
      buildId_(std::move(buildId)),
      program_(std::move(program)),
      buildTree_(std::move(buildTree)) {}

void* LoadableModule::entryPoint(const char* name) {
    if (!open()) {
        return nullptr;
    }
    void* entry = ::dlsym(handle_, name);
    if (!entry) {
        failure_ = ComposedText(std::string(name)) + " absent de " + userData(opened_.string()) +
                   " : " + userData(loaderReason());
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
            return load(path);
        }
        searched += (searched.empty() ? "" : ", ") + path.parent_path().string();
    }
    failure_ = ComposedText(fileName_) + " introuvable";
    if (!searched.empty()) {
        failure_ += " dans " + userData(searched);
    }
    return false;
}

// Each check, and the loader, sees the one file open at `file`, whatever takes its name meanwhile.
bool LoadableModule::load(const std::filesystem::path& path) {
    const auto refuse = [&](const ComposedText& reason) {
        failure_ = "Module " + userData(path.string()) + " non chargé : " + reason;
        return false;
    };
    ComposedText refusal;
    FileDescriptor file = openRegularFile(path, &refusal);
    if (!file.valid()) {
        return refuse(refusal);
    }
    const auto buildId = elfBuildId(file.get());
    if (!buildId) {
        return refuse("Pas un module d’OlvaneMac (aucun identifiant de construction)");
    }
    // Checked before the loader runs anything of it (its initialisers, the libraries it needs).
    if (*buildId != buildId_) {
        return refuse(
            "Il vient d’une autre construction (OlvaneMac a été mis à jour : relance-le pour "
            "l’utiliser)");
    }
    const auto name = "/proc/self/fd/" + std::to_string(file.get());
    handle_ = ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        auto reason = loaderReason();
        if (reason.starts_with(name)) {
            reason.replace(0, name.size(), path.string());
        }
        return refuse(userData(reason));
    }
    // The loader knows the module by that name, and would take any other object later opened
    // under it for this one: the descriptor stays open as long as the module, for good.
    static_cast<void>(file.release());
    opened_ = path;
    return true;
}

}  // namespace olvane::platform
