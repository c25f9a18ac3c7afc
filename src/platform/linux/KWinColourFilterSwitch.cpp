#include "platform/linux/KWinColourFilterSwitch.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "platform/FileIO.h"
#include "platform/Paths.h"
#include "platform/linux/KConfigFileLock.h"
#include "platform/linux/KConfigText.h"

namespace olvane::platform::os {
namespace {

namespace fs = std::filesystem;

constexpr const char* kEffect = "colorblindnesscorrection";
constexpr const char* kGroup = "Effect-colorblindnesscorrection";

struct OurEntry {
    const char* key;
    const char* value;
    // Without it the screen is not grey; the strength is the user's once they change it.
    bool makesGrey;
};
// Mode 3 is monochrome, at full strength.
constexpr OurEntry kEntries[] = {{"Mode", "3", true}, {"Intensity", "1.0", false}};
constexpr const char* kMonochrome = "3";

const BusMethod kSupportInformation{"org.kde.KWin", "/KWin", "org.kde.KWin", "supportInformation"};

BusMethod effects(const char* member) {
    return {"org.kde.KWin", "/Effects", "org.kde.kwin.Effects", member};
}

std::vector<std::string> ourKeys() {
    std::vector<std::string> keys;
    for (const auto& entry : kEntries) {
        keys.emplace_back(entry.key);
    }
    return keys;
}

// The text of kwinrc; empty when there is none yet, nullopt when it cannot be read.
std::optional<std::string> readKwinrc(const fs::path& kwinrc, Status& failure) {
    if (!existsAtPath(kwinrc)) {
        return std::string();
    }
    ComposedText error;
    auto text = readWholeFile(kwinrc, &error);
    if (!text) {
        failure = Status::failure(error);  // it names the file already
    }
    return text;
}

// The file a rewrite replaces: the target of a link (dotfiles often are), so the link stays.
fs::path writtenFile(const fs::path& kwinrc) {
    std::error_code ec;
    if (fs::is_symlink(kwinrc, ec)) {
        auto target = fs::canonical(kwinrc, ec);
        if (!ec) {
            return target;
        }
    }
    return kwinrc;
}

bool holdsOurMode(const std::string& kwinrc) {
    return kconfig::entry(kwinrc, kGroup, "Mode") == kMonochrome;
}

// Our mode with the effect loaded, though KDE's settings never enabled it.
bool looksOurs(const std::string& kwinrc, bool effectLoaded) {
    return effectLoaded && holdsOurMode(kwinrc) &&
           kconfig::entry(kwinrc, "Plugins", std::string(kEffect) + "Enabled") != "true";
}

mode_t permissionsOr(const fs::path& file, mode_t fallback) {
    struct stat status {};
    return ::stat(file.c_str(), &status) == 0 ? (status.st_mode & 07777) : fallback;
}

}  // namespace

std::optional<KWinVersion> KWinColourFilterSwitch::runningVersion(SessionBus& bus) {
    const auto information = bus.callForString(kSupportInformation);
    return information ? KWinVersion::fromSupportInformation(*information) : std::nullopt;
}

KWinColourFilterSwitch::KWinColourFilterSwitch(const Paths& paths, RunLoop* loop,
                                               FileWatcher* files,
                                               std::chrono::milliseconds lockWait)
    : kwinrc_(paths.configHome() / "kwinrc"),
      saved_(paths.dataFolder() / "kwin-colour-filter-saved.json", files),
      loop_(loop),
      files_(files),
      lockWait_(lockWait) {}

bool KWinColourFilterSwitch::load() {
    bus_ = SessionBus::open();
    const auto version = bus_ ? runningVersion(*bus_) : std::nullopt;
    if (!version || *version < kFirstWithMonochrome) {
        bus_.reset();
        return false;
    }
    return true;
}

Status KWinColourFilterSwitch::setEnabled(bool on) {
    return on ? switchOn() : switchOff();
}

Handle KWinColourFilterSwitch::observeSwitchOffElsewhere(std::function<void()> onSwitchedOff) {
    return switchedOffElsewhere_.connect(
        [onSwitchedOff = std::move(onSwitchedOff)] { onSwitchedOff(); });
}

Status KWinColourFilterSwitch::switchOn() {
    // Saved values already there come from a run that did not put them back, or from this one:
    // they are still the user's own, and the effect is ours. Only the monochrome mode is set
    // again, where it went: the rest is what the user made of it since.
    auto failure = Status::success();
    const auto ours = effectIsOurs(saved_.read(), failure);
    if (!ours) {
        return failure;
    }
    if (auto status = *ours ? saved_.keep() : saveUserValues(); !status) {
        return status;
    }
    bool changed = false;
    const auto setOurs = [ours = *ours](std::string text) {
        for (const auto& entry : kEntries) {
            if (!ours || entry.makesGrey) {
                text = kconfig::withEntry(text, kGroup, entry.key, std::string(entry.value));
            }
        }
        return text;
    };
    if (auto status = editKwinrc(kwinrc_, setOurs, false, &changed); !status) {
        return status;
    }
    ComposedText error;
    const auto loaded = effectLoaded(&error);
    if (!loaded) {
        return Status::failure(error);
    }
    watchKwinrc();
    if (*loaded) {
        return changed ? bus_->call(effects("reconfigureEffect"), kEffect) : Status::success();
    }
    const auto done = bus_->callForBool(effects("loadEffect"), kEffect, &error);
    if (!done) {
        return Status::failure(error);
    }
    if (!*done) {
        return Status::failure("KWin n’a pas chargé l’effet « " + ComposedText(kEffect) + " »");
    }
    return Status::success();
}

std::optional<bool> KWinColourFilterSwitch::effectIsOurs(const std::optional<Json>& saved,
                                                         Status& failure) {
    if (!saved || !saved->empty()) {
        return saved.has_value();
    }
    const auto now = current(failure);
    if (!now) {
        return std::nullopt;
    }
    return looksOurs(now->kwinrcText, now->effectLoaded);
}

std::optional<KWinColourFilterSwitch::Current> KWinColourFilterSwitch::current(Status& failure) {
    auto text = readKwinrc(kwinrc_, failure);
    if (!text) {
        return std::nullopt;
    }
    ComposedText error;
    const auto loaded = effectLoaded(&error);
    if (!loaded) {
        failure = Status::failure(error);
        return std::nullopt;
    }
    return Current{std::move(*text), *loaded};
}

// Whatever they are: a monochrome correction of the user's own is theirs.
Status KWinColourFilterSwitch::saveUserValues() {
    auto failure = Status::success();
    const auto now = current(failure);
    if (!now) {
        return failure;
    }
    const std::string& text = now->kwinrcText;
    Json entries = Json::object();
    for (const auto& entry : kEntries) {
        const auto value = kconfig::entry(text, kGroup, entry.key);
        entries[entry.key] = value ? Json(*value) : Json(nullptr);
    }
    Json values = Json::object();
    values["kwinrc"] = kwinrc_.string();
    values["kwinrcExisted"] = existsAtPath(kwinrc_);
    values["groupExisted"] = kconfig::hasGroup(text, kGroup);
    values["entries"] = entries;
    values["effectLoaded"] = now->effectLoaded;
    return saved_.save(values);
}

// With nothing saved the effect is the user's, monochrome or not.
Status KWinColourFilterSwitch::switchOff() {
    kwinrcWatch_ = Handle();
    settle_ = Handle();
    const auto values = saved_.read();
    if (!values) {
        return Status::success();
    }
    if (auto status = restore(*values, Effect::AsSaved); !status) {
        // Colour all the same where the effect is ours: unloading it needs no lock. The user's
        // lines stay saved for the next switch off.
        if (!json::boolMember(*values, "effectLoaded").value_or(false)) {
            (void)bus_->call(effects("unloadEffect"), kEffect);
        }
        return status;
    }
    return saved_.discard();
}

Handle KWinColourFilterSwitch::whenUserValuesMayBeGivenBack(std::function<void()> retry) {
    if (!loop_ || !lockedOut_ || !saved_.exist()) {
        return {};
    }
    return loop_->every(seconds(kLockRetrySeconds), [file = *lockedOut_, retry = std::move(retry)] {
        if (!kconfigFileLockHeld(file)) {
            retry();
        }
    });
}

Status KWinColourFilterSwitch::restore(const Json& values, Effect effect) {
    // The file the lines were taken from, even when this process sees another configuration
    // folder (the watchdog, started by the service manager).
    const fs::path kwinrc = json::stringMember(values, "kwinrc").value_or(kwinrc_.string());
    const auto found = values.find("entries");
    const Json entries = found != values.end() ? *found : Json::object();
    const bool groupExisted = json::boolMember(values, "groupExisted").value_or(false);
    const auto putBack = [&entries, groupExisted](std::string text) {
        for (const auto& entry : kEntries) {
            // Changed by the user while the screen was grey: their newer choice stays.
            if (kconfig::entry(text, kGroup, entry.key) == entry.value) {
                text = kconfig::withEntry(text, kGroup, entry.key,
                                          json::stringMember(entries, entry.key));
            }
        }
        return groupExisted ? text : kconfig::withoutEmptyGroup(text, kGroup);
    };
    const bool kwinrcExisted = json::boolMember(values, "kwinrcExisted").value_or(true);
    if (auto status = editKwinrc(kwinrc, putBack, !kwinrcExisted); !status) {
        return status;
    }
    if (effect == Effect::AsItIs) {
        // Loaded by the user's own choice, it must read the lines put back.
        const auto loaded = effectLoaded(nullptr);
        return loaded.value_or(false) ? bus_->call(effects("reconfigureEffect"), kEffect)
                                      : Status::success();
    }
    const bool loaded = json::boolMember(values, "effectLoaded").value_or(false);
    return bus_->call(effects(loaded ? "reconfigureEffect" : "unloadEffect"), kEffect);
}

Status KWinColourFilterSwitch::editKwinrc(const fs::path& kwinrc,
                                          const std::function<std::string(std::string)>& edit,
                                          bool removeWhenEmpty, bool* changed) {
    const auto file = writtenFile(kwinrc);
    if (auto folder = ensurePrivateFolder(file.parent_path()); !folder) {
        return folder;
    }
    // KDE's programs save kwinrc under this lock: none of their saves falls between our read
    // and our write, to be lost.
    auto failure = Status::success();
    auto lock = lockKConfigFile(file, lockWait_, failure);
    lockedOut_ = lock ? std::nullopt : std::optional(file);
    if (!lock) {
        return failure;
    }
    const auto text = readKwinrc(kwinrc, failure);
    if (!text) {
        return failure;
    }
    const auto edited = edit(*text);
    if (existsAtPath(kwinrc) ? edited == *text : edited.empty()) {
        return Status::success();
    }
    if (edited.empty() && removeWhenEmpty) {
        if (std::remove(kwinrc.c_str()) != 0 && errno != ENOENT) {
            return errnoFailure("Impossible de supprimer " + quotedPath(kwinrc), errno);
        }
    } else if (auto status =
                   writeFileAtomically(file, edited, permissionsOr(file, kPrivateFileMode));
               !status) {
        return status;
    }
    lock.cancel();
    if (changed) {
        *changed = true;
    }
    // KWin keeps kwinrc in memory: without the notice it would apply the effect's old lines.
    (void)bus_->notifyConfigChanged("kwinrc", kGroup, ourKeys());
    return Status::success();
}

std::optional<bool> KWinColourFilterSwitch::effectLoaded(ComposedText* error) {
    return bus_->callForBool(effects("isEffectLoaded"), kEffect, error);
}

void KWinColourFilterSwitch::watchKwinrc() {
    if (!loop_ || !files_ || kwinrcWatch_) {
        return;
    }
    const auto file = writtenFile(kwinrc_);
    kwinrcWatch_ =
        files_->watchName(file.parent_path(), file.filename().string(), [this](FileEvents) {
            settle_ = loop_->after(seconds(kSettleSeconds), [this] { checkStillGrey(); });
        });
}

// Switched off from KDE's settings: the mode changed, or the effect went once KWin read kwinrc.
void KWinColourFilterSwitch::checkStillGrey() {
    const auto values = saved_.read();
    if (!values) {
        return;
    }
    auto failure = Status::success();
    const auto text = readKwinrc(kwinrc_, failure);
    const auto loaded = effectLoaded(nullptr);
    if (!text || !loaded || (*loaded && holdsOurMode(*text))) {
        return;
    }
    kwinrcWatch_ = Handle();
    // Kept when kwinrc could not take them: the next switch off gives them back.
    if (restore(*values, Effect::AsItIs)) {
        (void)saved_.discard();
    }
    switchedOffElsewhere_.emit();
}

}  // namespace olvane::platform::os
