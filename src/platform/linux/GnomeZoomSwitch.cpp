#include "platform/linux/GnomeZoomSwitch.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>

#include "platform/linux/GSettingsKeys.h"

namespace olvane::platform::os {
namespace {

constexpr const char* kMagnifier = "org.gnome.desktop.a11y.magnifier";
constexpr const char* kApplications = "org.gnome.desktop.a11y.applications";

struct ZoomKey {
    const char* schema;
    const char* key;
    const char* ours;  // in GVariant text form
};
// In the order they are set: the zoom is switched on last, once it can only desaturate, and
// switched off first when the user's values come back. The lens and the screen position would
// otherwise make only a part of the screen grey.
constexpr ZoomKey kKeys[] = {
    {kMagnifier, "mag-factor", "1.0"},
    {kMagnifier, "color-saturation", "0.0"},
    {kMagnifier, "lens-mode", "false"},
    {kMagnifier, "screen-position", "'full-screen'"},
    {kApplications, "screen-magnifier-enabled", "true"},
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
const ZoomKey& saturationKey() {
    return kKeys[1];
}

bool holdsOurs(const ZoomKey& key) {
    return keys().holds(key.schema, key.key, key.ours);
}

// The zoom on and every colour taken away: nothing but a grayscale switch leaves it so.
bool looksGrey() {
    return holdsOurs(enabledKey()) && holdsOurs(saturationKey());
}

// Saved values that give every key its default back.
Json defaultValues() {
    Json values = Json::object();
    for (const auto& key : kKeys) {
        values[key.schema][key.key] = nullptr;
    }
    return values;
}

// On a zoom already grey, a key holding our value was set by a run that lost its saved values:
// its default stands for the user's.
Json currentUserValues() {
    const bool grey = looksGrey();
    Json values = Json::object();
    for (const auto& key : kKeys) {
        const auto value =
            grey && holdsOurs(key) ? std::nullopt : keys().userValue(key.schema, key.key);
        values[key.schema][key.key] = value ? Json(*value) : Json(nullptr);
    }
    return values;
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
    // they are still the user's own, and the current ones are ours. Unreadable ones over a zoom
    // that is not grey are no one's: the current values are the user's.
    if (const auto saved = saved_.read(); saved && (!saved->empty() || looksGrey())) {
        if (auto status = saved_.keep(); !status) {
            return status;
        }
    } else if (auto status = saved_.save(currentUserValues()); !status) {
        return status;
    }
    for (const auto& key : kKeys) {
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
    auto values = saved_.read();
    if (!values) {
        // Nothing saved, yet grey: a run that lost its saved values left it so.
        if (!looksGrey()) {
            return Status::success();
        }
        values = defaultValues();
    }
    // Unreadable saved values cost the user something only where a key is still set to ours
    // (one left at a default that equals ours is no one's).
    const bool anyOurs = std::ranges::any_of(kKeys, [](const ZoomKey& key) {
        return holdsOurs(key) && keys().userValue(key.schema, key.key);
    });
    if (auto status = restore(*values); !status) {
        return status;
    }
    if (auto discarded = saved_.discard(); !discarded) {
        return discarded;
    }
    if (values->empty() && anyOurs) {
        return Status::failure("Réglages du zoom sauvegardés illisibles (" +
                               quotedPath(saved_.file()) + ") : valeurs par défaut remises");
    }
    return Status::success();
}

Status GnomeZoomSwitch::restore(const Json& values) {
    auto status = Status::success();
    for (auto key = std::rbegin(kKeys); key != std::rend(kKeys); ++key) {
        // Changed by the user while the screen was grey: their newer choice stays.
        if (!holdsOurs(*key)) {
            continue;
        }
        const auto schema = values.find(key->schema);
        const auto text =
            schema != values.end() ? json::stringMember(*schema, key->key) : std::nullopt;
        // A key the user had left alone goes back to its default, and so does one whose saved
        // value is lost: colour matters more than the exact zoom.
        if (!text) {
            keys().reset(key->schema, key->key);
        } else if (!keys().set(key->schema, key->key, *text)) {
            keys().reset(key->schema, key->key);
            if (!keys().writable(key->schema, key->key)) {
                status = Status::failure("Réglage verrouillé : " + label(*key));
            }
        }
    }
    return status;
}

void GnomeZoomSwitch::enabledChanged() {
    if (writing_ || !saved_.exist() || holdsOurs(enabledKey())) {
        return;
    }
    writing_ = true;
    const auto values = saved_.read();
    (void)restore(values.value_or(Json::object()));
    keys().sync();
    (void)saved_.discard();
    writing_ = false;
    switchedOffElsewhere_.emit();
}

}  // namespace olvane::platform::os
