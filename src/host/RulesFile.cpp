#include "host/RulesFile.h"

#include <string>

namespace olvane::host {
namespace {

// File times may advance by coarse steps: a file changed within this long of its reading could
// change again with the same times, so what was read from it is not kept.
constexpr long long kSettledNs = 2'000'000'000LL;

}  // namespace

RulesFile::RulesFile(platform::FileSystem& files, std::filesystem::path path, const HostLog& log)
    : files_(files), path_(std::move(path)), log_(log) {}

const RulesFile::Contents& RulesFile::readLocked() {
    const auto identity = files_.identity(path_);
    if (!identity) {
        if (contents_.modificationTimeNs || contents_.objectText != "{}") {
            replace({"{}", std::nullopt});
        }
        readFrom_.reset();
        return contents_;
    }
    if (identity != readFrom_) {
        readAgain(*identity);
    }
    return contents_;
}

void RulesFile::readAgain(const Identity& identity) {
    std::string text;
    platform::ComposedText readError;
    if (auto bytes = files_.read(path_, &readError)) {
        text = std::move(*bytes);
    }
    const bool compact = readError.empty() && json::makeObjectTextCompact(text);
    if (!compact) {
        // Not one object: say why, unless it is plain JSON of another kind, carried as nothing.
        std::string error = readError.text();
        const auto value = readError.empty() ? json::parse(text, error) : std::nullopt;
        if (!value) {
            log_.error("loadRules: lecture/parsing rules.json échoué: " + error +
                       " — fichier potentiellement corrompu");
        }
    }
    replace({compact ? std::move(text) : std::string("{}"), identity.modifiedNs});
    const bool settled = files_.nowNs() - identity.modifiedNs >= kSettledNs;
    readFrom_ = watched_ || settled ? std::optional(identity) : std::nullopt;
}

void RulesFile::replace(Contents contents) {
    contents.generation = contents_.generation + 1;
    contents_ = std::move(contents);
}

void RulesFile::noteChanged() {
    const std::lock_guard lock(mutex_);
    readFrom_.reset();
}

void RulesFile::setWatched(bool watched) {
    const std::lock_guard lock(mutex_);
    watched_ = watched;
    // Changes made while nothing watched were never reported.
    readFrom_.reset();
}

std::optional<long long> RulesFile::modificationTime() const {
    return files_.modificationTimeNs(path_);
}

}  // namespace olvane::host
