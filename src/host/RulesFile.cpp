#include "host/RulesFile.h"

#include <cerrno>
#include <string>
#include <system_error>

#include "platform/FileIO.h"

namespace olvane::host {

RulesFile::RulesFile(std::filesystem::path path, const HostLog& log)
    : path_(std::move(path)), log_(log) {}

Json RulesFile::load() const {
    std::error_code ec;
    if (!std::filesystem::exists(path_, ec)) {
        return Json::object();
    }
    platform::ComposedText readError;
    const auto text = platform::readWholeFile(path_, &readError);
    std::string error = readError.text();
    std::optional<Json> value;
    if (text) {
        value = json::parse(*text, error);
    }
    if (!value) {
        log_.error("loadRules: lecture/parsing rules.json échoué: " + error +
                   " — fichier potentiellement corrompu");
        return Json::object();
    }
    return value->is_object() ? std::move(*value) : Json::object();
}

std::optional<long long> RulesFile::modificationTime() const {
    return platform::modificationTimeNs(path_);
}

}  // namespace olvane::host
