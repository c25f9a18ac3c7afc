#include "host/RulesFile.h"

#include <string>

#include "host/Frame.h"
#include "host/OutgoingMessages.h"
#include "model/exchange/ExchangeFiles.h"

namespace olvane::host {
namespace {

// File times may advance by coarse steps: a file changed within this long of its reading could
// change again with the same times, so what was read from it is not kept.
constexpr long long kSettledNs = 2'000'000'000LL;

// The browser takes one message of kMaxOutgoingPayload bytes at most. The application indents
// the file, so a longer file may still fit once compacted: it is read up to a few times that,
// never further.
constexpr std::size_t kMaxObjectText = kMaxOutgoingPayload - outgoing::kRulesEnvelopeBytes;
constexpr std::size_t kMaxFileBytes = exchange::kMaxExchangeFileBytes;
static_assert(kMaxFileBytes >= 2 * kMaxOutgoingPayload);

platform::ComposedText tooLongForOneMessage(std::size_t compactBytes) {
    return platform::ComposedText("Fichier trop volumineux : " + std::to_string(compactBytes) +
                                  " octets une fois compacté, un message au navigateur en porte "
                                  "au plus " +
                                  std::to_string(kMaxObjectText));
}

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
    platform::ComposedText failure;
    if (auto bytes = files_.read(path_, &failure, kMaxFileBytes)) {
        text = std::move(*bytes);
    }
    bool compact = failure.empty() && json::makeObjectTextCompact(text);
    if (compact && text.size() > kMaxObjectText) {
        failure = tooLongForOneMessage(text.size());
        compact = false;
    }
    if (!compact) {
        // Not one object: say why, unless it is plain JSON of another kind, carried as nothing.
        std::string error = failure.text();
        const auto value = failure.empty() ? json::parse(text, error) : std::nullopt;
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
