#include "host/RulesFile.h"

#include <time.h>

#include <string>

#include "platform/FileIO.h"

namespace olvane::host {
namespace {

// File times may advance by coarse steps: a file changed within this long of its reading could
// change again with the same times, so what was read from it is not kept.
constexpr long long kSettledNs = 2'000'000'000LL;

long long nanoseconds(const timespec& time) {
    return static_cast<long long>(time.tv_sec) * 1'000'000'000LL + time.tv_nsec;
}

long long wallClockNs() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return nanoseconds(now);
}

}  // namespace

RulesFile::RulesFile(std::filesystem::path path, const HostLog& log)
    : path_(std::move(path)), log_(log) {}

std::optional<RulesFile::Identity> RulesFile::identityOf(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return Identity{st.st_dev, st.st_ino, st.st_size, nanoseconds(st.st_mtim),
                    nanoseconds(st.st_ctim)};
}

const RulesFile::Contents& RulesFile::read() {
    const auto identity = identityOf(path_);
    if (!identity) {
        if (contents_.modificationTimeNs || contents_.objectText != "{}") {
            contents_ = {"{}", std::nullopt, contents_.generation + 1};
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
    if (auto bytes = platform::readWholeFile(path_, &readError)) {
        text = std::move(*bytes);
    }
    auto compact = readError.empty() ? json::compactObjectText(text) : std::nullopt;
    if (!compact) {
        // Not one object: say why, unless it is plain JSON of another kind, carried as nothing.
        std::string error = readError.text();
        const auto value = readError.empty() ? json::parse(text, error) : std::nullopt;
        if (!value) {
            log_.error("loadRules: lecture/parsing rules.json échoué: " + error +
                       " — fichier potentiellement corrompu");
        }
    }
    contents_ = {compact ? std::move(*compact) : std::string("{}"), identity.modifiedNs,
                 contents_.generation + 1};
    const bool settled = wallClockNs() - identity.modifiedNs >= kSettledNs;
    readFrom_ = settled ? std::optional(identity) : std::nullopt;
}

std::optional<long long> RulesFile::modificationTime() const {
    return platform::modificationTimeNs(path_);
}

}  // namespace olvane::host
