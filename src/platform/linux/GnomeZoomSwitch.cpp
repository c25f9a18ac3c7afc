#include "platform/linux/GnomeZoomSwitch.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/linux/GSettingsKeys.h"

namespace olvane::platform::os {
namespace {

constexpr const char* kMagnifier = "org.gnome.desktop.a11y.magnifier";
constexpr const char* kApplications = "org.gnome.desktop.a11y.applications";

struct ZoomKey {
    const char* schema;
    const char* key;
    const char* ours;  // in GVariant text form
    // Without it the screen is not grey; the other keys only make the whole of it so.
    bool makesGrey;
};
// In the order they are set: the zoom is switched on last, once it can only desaturate, and
// switched off first when the user's values come back. The lens and the screen position would
// otherwise make only a part of the screen grey.
constexpr ZoomKey kKeys[] = {
    {kMagnifier, "mag-factor", "1.0", false},
    {kMagnifier, "color-saturation", "0.0", true},
    {kMagnifier, "lens-mode", "false", false},
    {kMagnifier, "screen-position", "'full-screen'", false},
    {kApplications, "screen-magnifier-enabled", "true", true},
};

GSettingsKeys& keys() {
    return *GSettingsKeys::shared();
}

ComposedText label(const ZoomKey& key) {
    return ComposedText(key.schema) + " " + key.key;
}

const ZoomKey& enabledKey() {
    return kKeys[std::size(kKeys) - 1];
}

bool holdsOurs(const ZoomKey& key) {
    return keys().holds(key.schema, key.key, key.ours);
}

// The zoom on and every colour taken away.
bool looksGrey() {
    return std::ranges::all_of(kKeys,
                               [](const ZoomKey& key) { return !key.makesGrey || holdsOurs(key); });
}

// Whatever they are, a grey zoom of their own included.
Json currentUserValues() {
    Json values = Json::object();
    for (const auto& key : kKeys) {
        const auto value = keys().userValue(key.schema, key.key);
        values[key.schema][key.key] = value ? Json(*value) : Json(nullptr);
    }
    return values;
}

// The saved value of `key`; nullopt for its default (left alone by the user, or lost).
std::optional<std::string> savedValue(const Json& values, const ZoomKey& key) {
    const auto schema = values.find(key.schema);
    return schema != values.end() ? json::stringMember(*schema, key.key) : std::nullopt;
}

// A key given `value` (nullopt: its default). Through a store that refused the write (dconf
// without its session bus) it reads back as it was.
bool readsAs(const ZoomKey& key, const std::optional<std::string>& value) {
    return value ? keys().holds(key.schema, key.key, *value)
                 : !keys().userValue(key.schema, key.key);
}

}  // namespace

bool GnomeZoomSwitch::schemasInstalled() {
    auto* settings = GSettingsKeys::shared();
    return settings && std::ranges::all_of(kKeys, [settings](const ZoomKey& key) {
               return settings->has(key.schema, key.key);
           });
}

GnomeZoomSwitch::GnomeZoomSwitch(const Paths& paths, MainContext context, FileWatcher* files)
    : saved_(paths.dataFolder() / "gnome-zoom-saved.json", files), context_(context) {}

GnomeZoomSwitch::~GnomeZoomSwitch() = default;

Status GnomeZoomSwitch::setEnabled(bool on) {
    // GSettings aborts the process on a schema that is not installed.
    if (!schemasInstalled()) {
        return Status::failure("Schémas du zoom de GNOME introuvables");
    }
    if (context_ == MainContext::DispatchBeforeUse) {
        keys().dispatchPending();
    }
    writing_ = true;
    auto status = on ? switchOn() : switchOff();
    keys().sync();
    writing_ = false;
    return status;
}

Handle GnomeZoomSwitch::observeSwitchOffElsewhere(std::function<void()> onSwitchedOff) {
    return switchedOffElsewhere_.connect(
        [onSwitchedOff = std::move(onSwitchedOff)] { onSwitchedOff(); });
}

Status GnomeZoomSwitch::switchOn() {
    for (const auto& key : kKeys) {
        if (!keys().writable(key.schema, key.key)) {
            return Status::failure("Réglage verrouillé : " + label(key));
        }
    }
    // Saved values already there come from a run that did not put them back, or from this one:
    // they are still the user's own, and the zoom is ours. Only what makes it grey is set again,
    // where it went: the rest is what the user made of it since. Unreadable ones over a zoom
    // that is not grey are no one's: the current values are the user's.
    bool ours = false;
    if (const auto saved = saved_.read(); saved && (!saved->empty() || looksGrey())) {
        if (auto status = saved_.keep(); !status) {
            return status;
        }
        ours = true;
    } else if (auto status = saved_.save(currentUserValues()); !status) {
        return status;
    }
    for (const auto& key : kKeys) {
        if (ours && (!key.makesGrey || holdsOurs(key))) {
            continue;
        }
        if (!keys().set(key.schema, key.key, key.ours)) {
            return Status::failure("Réglage refusé : " + label(key));
        }
    }
    if (!enabledWatch_) {
        enabledWatch_ =
            keys().watch(enabledKey().schema, enabledKey().key, [this] { enabledChanged(); });
    }
    return Status::success();
}

Status GnomeZoomSwitch::switchOff() {
    const auto values = saved_.read();
    if (!values) {
        return Status::success();
    }
    // Unreadable saved values cost the user something only where a key is still set to ours
    // (one left at a default that equals ours is no one's).
    const bool anyOurs = std::ranges::any_of(kKeys, [](const ZoomKey& key) {
        return holdsOurs(key) && keys().userValue(key.schema, key.key);
    });
    if (auto status = giveBack(*values); !status) {
        return status;
    }
    if (values->empty() && anyOurs) {
        return Status::failure("Réglages du zoom sauvegardés illisibles (" +
                               quotedPath(saved_.file()) + ") : valeurs par défaut remises");
    }
    return Status::success();
}

Status GnomeZoomSwitch::giveBack(const Json& values) {
    auto status = Status::success();
    std::vector<std::pair<const ZoomKey*, std::optional<std::string>>> given;
    for (auto key = std::rbegin(kKeys); key != std::rend(kKeys); ++key) {
        // Changed by the user while the screen was grey: their newer choice stays.
        if (!holdsOurs(*key)) {
            continue;
        }
        // A key the user had left alone goes back to its default, and so does one whose saved
        // value is lost: colour matters more than the exact zoom.
        auto value = savedValue(values, *key);
        if (!value) {
            keys().reset(key->schema, key->key);
        } else if (!keys().set(key->schema, key->key, *value)) {
            value.reset();
            keys().reset(key->schema, key->key);
            if (!keys().writable(key->schema, key->key)) {
                status = Status::failure("Réglage verrouillé : " + label(*key));
            }
        }
        given.emplace_back(&*key, std::move(value));
    }
    keys().sync();
    if (!status) {
        return status;
    }
    if (!std::ranges::all_of(given,
                             [](const auto& key) { return readsAs(*key.first, key.second); })) {
        return Status::failure(
            "Réglages du zoom non rendus, les valeurs de l’utilisateur restent dans " +
            quotedPath(saved_.file()));
    }
    return saved_.discard();
}

void GnomeZoomSwitch::enabledChanged() {
    if (writing_ || !saved_.exist() || holdsOurs(enabledKey())) {
        return;
    }
    writing_ = true;
    const auto values = saved_.read();
    (void)giveBack(values.value_or(Json::object()));
    writing_ = false;
    switchedOffElsewhere_.emit();
}

}  // namespace olvane::platform::os
