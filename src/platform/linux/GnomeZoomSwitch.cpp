#include "platform/linux/GnomeZoomSwitch.h"

#include <gio/gio.h>

#include <iterator>
#include <memory>
#include <optional>
#include <string>

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

struct Unref {
    void operator()(GSettings* settings) const { g_object_unref(settings); }
    void operator()(GSettingsSchema* schema) const { g_settings_schema_unref(schema); }
    void operator()(GSettingsSchemaKey* key) const { g_settings_schema_key_unref(key); }
    void operator()(GVariant* value) const { g_variant_unref(value); }
    void operator()(gchar* text) const { g_free(text); }
};
template <typename T>
using Owned = std::unique_ptr<T, Unref>;

Owned<GSettingsSchema> lookUp(const char* schema) {
    auto* source = g_settings_schema_source_get_default();
    return Owned<GSettingsSchema>(source ? g_settings_schema_source_lookup(source, schema, TRUE)
                                         : nullptr);
}

// One key of the zoom, with its schema's description of it.
class ZoomSetting {
  public:
    explicit ZoomSetting(const ZoomKey& key)
        : name_(key.key),
          schema_(lookUp(key.schema)),
          key_(g_settings_schema_get_key(schema_.get(), key.key)),
          settings_(g_settings_new_full(schema_.get(), nullptr, nullptr)) {}

    ComposedText label() const {
        return ComposedText(g_settings_schema_get_id(schema_.get())) + " " + name_;
    }
    bool writable() const { return g_settings_is_writable(settings_.get(), name_); }

    // The user's own value in text form; nullopt when the key holds its default.
    std::optional<std::string> userValue() const {
        const Owned<GVariant> value(g_settings_get_user_value(settings_.get(), name_));
        if (!value) {
            return std::nullopt;
        }
        const Owned<gchar> text(g_variant_print(value.get(), FALSE));
        return std::string(text.get());
    }

    // Whether the key's value now, default or not, is the one `text` gives.
    bool holds(const std::string& text) const {
        const auto wanted = parse(text);
        const Owned<GVariant> value(g_settings_get_value(settings_.get(), name_));
        return wanted && g_variant_equal(wanted.get(), value.get());
    }

    // False when the text is no valid value of the key, or the key cannot be written.
    bool set(const std::string& text) const {
        const auto value = parse(text);
        return value && g_settings_schema_key_range_check(key_.get(), value.get()) &&
               g_settings_set_value(settings_.get(), name_, value.get());
    }
    void reset() const { g_settings_reset(settings_.get(), name_); }

  private:
    Owned<GVariant> parse(const std::string& text) const {
        return Owned<GVariant>(g_variant_parse(g_settings_schema_key_get_value_type(key_.get()),
                                               text.c_str(), nullptr, nullptr, nullptr));
    }

    const char* name_;
    Owned<GSettingsSchema> schema_;
    Owned<GSettingsSchemaKey> key_;
    Owned<GSettings> settings_;
};

const ZoomKey& enabledKey() {
    return kKeys[std::size(kKeys) - 1];
}
const ZoomKey& saturationKey() {
    return kKeys[1];
}

bool holdsOurs(const ZoomKey& key) {
    return ZoomSetting(key).holds(key.ours);
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
        const auto value = grey && holdsOurs(key) ? std::nullopt : ZoomSetting(key).userValue();
        values[key.schema][key.key] = value ? Json(*value) : Json(nullptr);
    }
    return values;
}

}  // namespace

// GSettings' notice that the zoom was switched on or off, delivered in the main context.
class GnomeZoomSwitch::EnabledWatch {
  public:
    explicit EnabledWatch(GnomeZoomSwitch& owner)
        : settings_(g_settings_new_full(lookUp(enabledKey().schema).get(), nullptr, nullptr)) {
        const std::string signal = std::string("changed::") + enabledKey().key;
        handler_ = g_signal_connect(settings_.get(), signal.c_str(),
                                    G_CALLBACK(&EnabledWatch::changed), &owner);
        // GSettings sends change notices only for keys read since it was made.
        const Owned<GVariant> value(g_settings_get_value(settings_.get(), enabledKey().key));
    }
    ~EnabledWatch() { g_signal_handler_disconnect(settings_.get(), handler_); }
    EnabledWatch(const EnabledWatch&) = delete;
    EnabledWatch& operator=(const EnabledWatch&) = delete;

  private:
    static void changed(GSettings*, const gchar*, gpointer owner) {
        static_cast<GnomeZoomSwitch*>(owner)->enabledChanged();
    }

    Owned<GSettings> settings_;
    gulong handler_ = 0;
};

bool GnomeZoomSwitch::schemasInstalled() {
    for (const auto& key : kKeys) {
        const auto schema = lookUp(key.schema);
        if (!schema || !g_settings_schema_has_key(schema.get(), key.key)) {
            return false;
        }
    }
    return true;
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
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
    }
    writing_ = true;
    auto status = on ? switchOn() : switchOff();
    g_settings_sync();
    writing_ = false;
    return status;
}

Handle GnomeZoomSwitch::observeSwitchOffElsewhere(std::function<void()> onSwitchedOff) {
    return switchedOffElsewhere_.connect(
        [onSwitchedOff = std::move(onSwitchedOff)] { onSwitchedOff(); });
}

Status GnomeZoomSwitch::switchOn() {
    for (const auto& key : kKeys) {
        if (const ZoomSetting setting(key); !setting.writable()) {
            return Status::failure("Réglage verrouillé : " + setting.label());
        }
    }
    // Saved values already there come from a run that did not put them back, or from this one:
    // they are still the user's own, and the current ones are ours.
    if (saved_.exist()) {
        if (auto status = saved_.keep(); !status) {
            return status;
        }
    } else if (auto status = saved_.save(currentUserValues()); !status) {
        return status;
    }
    for (const auto& key : kKeys) {
        if (const ZoomSetting setting(key); !setting.set(key.ours)) {
            return Status::failure("Réglage refusé : " + setting.label());
        }
    }
    if (!enabledWatch_) {
        enabledWatch_ = std::make_unique<EnabledWatch>(*this);
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
    if (auto status = restore(*values); !status) {
        return status;
    }
    if (auto discarded = saved_.discard(); !discarded) {
        return discarded;
    }
    if (values->empty()) {
        return Status::failure("Réglages du zoom sauvegardés illisibles (" +
                               quotedPath(saved_.file()) + ") : valeurs par défaut remises");
    }
    return Status::success();
}

Status GnomeZoomSwitch::restore(const Json& values) {
    auto status = Status::success();
    for (auto key = std::rbegin(kKeys); key != std::rend(kKeys); ++key) {
        const ZoomSetting setting(*key);
        // Changed by the user while the screen was grey: their newer choice stays.
        if (!setting.holds(key->ours)) {
            continue;
        }
        const auto schema = values.find(key->schema);
        const auto text =
            schema != values.end() ? json::stringMember(*schema, key->key) : std::nullopt;
        // A key the user had left alone goes back to its default, and so does one whose saved
        // value is lost: colour matters more than the exact zoom.
        if (!text) {
            setting.reset();
        } else if (!setting.set(*text)) {
            setting.reset();
            if (!setting.writable()) {
                status = Status::failure("Réglage verrouillé : " + setting.label());
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
    g_settings_sync();
    (void)saved_.discard();
    writing_ = false;
    switchedOffElsewhere_.emit();
}

}  // namespace olvane::platform::os
