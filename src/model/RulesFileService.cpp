#include "model/RulesFileService.h"

#include <string_view>

#include "model/Logger.h"
#include "model/exchange/ExchangeFiles.h"
#include "model/exchange/RulesFileFormat.h"
#include "platform/FileIO.h"

namespace olvane {
namespace {

std::string joined(const std::vector<std::string>& names, std::string_view separator) {
    std::string out;
    for (const auto& name : names) {
        if (!out.empty()) {
            out += separator;
        }
        out += name;
    }
    return out;
}

// Every launch exports the same rules again: a file that already holds them is left alone, which
// spares the disk two flushes and the readers a change that changes nothing.
platform::Status writeUnlessSame(const std::filesystem::path& path, const std::string& bytes) {
    if (platform::readWholeFile(path) == bytes) {
        return platform::Status::success();
    }
    return platform::writeFileAtomically(path, bytes);
}

}  // namespace

RulesFileService::RulesFileService(const platform::Paths& paths)
    : dataFolder_(paths.dataFolder()), sharedContainer_(paths.sharedContainer()) {
    ensureDirectoryExists();
    // Only the application writes both files: what a killed write left beside them is of no use.
    platform::removeUnfinishedWrites(rulesFile());
    platform::removeUnfinishedWrites(sharedRulesFile());
}

std::filesystem::path RulesFileService::rulesFile() const {
    return dataFolder_ / exchange::kRulesFile;
}

std::filesystem::path RulesFileService::sharedRulesFile() const {
    return sharedContainer_ / exchange::kRulesFile;
}

void RulesFileService::ensureDirectoryExists() const {
    (void)platform::ensurePrivateFolder(dataFolder_);
}

Json RulesFileService::readRules(platform::ComposedText* problem) const {
    std::error_code ec;
    if (!std::filesystem::exists(rulesFile(), ec)) {
        return Json::object();  // not written yet: nothing to report
    }
    platform::ComposedText readError;
    const auto text = platform::readWholeFile(rulesFile(), &readError);
    if (!text) {
        if (problem) {
            *problem = readError;
        }
        return Json::object();
    }
    const auto parsed = json::parse(*text);
    if (!parsed || !parsed->is_object()) {
        if (problem) {
            *problem = parsed ? platform::ComposedText("le contenu n'est pas un objet JSON")
                              : platform::ComposedText("JSON invalide");
        }
        return Json::object();
    }
    return *parsed;
}

platform::Status RulesFileService::rewriteRules(const std::function<void(Json&)>& edit) const {
    platform::ComposedText problem;
    Json rules = readRules(&problem);
    if (!problem.empty()) {
        Logger::app().logError("rules.json inutilisable, il est reconstruit", problem);
    }
    edit(rules);
    return writeRules(rules);
}

platform::Status RulesFileService::writeRules(const Json& rules) const {
    return writeUnlessSame(rulesFile(), json::dumpPretty(rules));
}

void RulesFileService::updateRules(const std::string& key, const std::optional<Json>& value) const {
    ensureDirectoryExists();
    const auto written = rewriteRules([&](Json& rules) {
        if (value) {
            rules[key] = *value;
        } else {
            rules.erase(key);
        }
    });
    if (!written) {
        Logger::app().logError("Échec d'écriture de rules.json", written);
        return;
    }
    Logger::app().debug("rules.json mis à jour: %{public}s", key);
    syncToGroupContainer();
}

void RulesFileService::syncToGroupContainer() const {
    if (!platform::ensurePrivateFolder(sharedContainer_)) {
        Logger::app().debug("Group Container non disponible — sync Safari ignorée");
        return;
    }
    const auto bytes = platform::readWholeFile(rulesFile());
    if (!bytes) {
        return;
    }
    if (const auto written = writeUnlessSame(sharedRulesFile(), *bytes); !written) {
        Logger::app().logError("Échec de copie de rules.json vers le Group Container", written);
        return;
    }
    Logger::app().debug("rules.json synchronisé vers Group Container");
}

void RulesFileService::cleanLegacyKeys() const {
    Json rules = readRules();
    std::vector<std::string> removed;
    for (const char* key : exchange::kLegacyKeys) {
        if (rules.erase(key) > 0) {
            removed.emplace_back(key);
        }
    }
    if (removed.empty()) {
        return;
    }
    if (const auto written = writeRules(rules); !written) {
        Logger::app().logError("Échec d'écriture de rules.json", written);
        return;
    }
    Logger::app().info("rules.json nettoyé: clés legacy supprimées (%{public}s)",
                       joined(removed, ", "));
}

}  // namespace olvane
