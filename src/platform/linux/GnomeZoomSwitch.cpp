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

    // False when the text is no valid value of the key, or the key cannot be written.
    bool set(const std::string& text) const {
        const Owned<GVariant> value(
            g_variant_parse(g_settings_schema_key_get_value_type(key_.get()), text.c_str(), nullptr,
                            nullptr, nullptr));
        return value && g_settings_schema_key_range_check(key_.get(), value.get()) &&
               g_settings_set_value(settings_.get(), name_, value.get());
    }
    void reset() const { g_settings_reset(settings_.get(), name_); }

  private:
    const char* name_;
    Owned<GSettingsSchema> schema_;
    Owned<GSettingsSchemaKey> key_;
    Owned<GSettings> settings_;
};

}  // namespace

bool GnomeZoomSwitch::schemasInstalled() {
    for (const auto& key : kKeys) {
        const auto schema = lookUp(key.schema);
        if (!schema || !g_settings_schema_has_key(schema.get(), key.key)) {
            return false;
        }
    }
    return true;
}

GnomeZoomSwitch::GnomeZoomSwitch(const Paths& paths, MainContext context)
    : saved_(paths.dataFolder() / "gnome-zoom-saved.json"), context_(context) {}

Status GnomeZoomSwitch::setEnabled(bool on) {
    // GSettings aborts the process on a schema that is not installed.
    if (!schemasInstalled()) {
        return Status::failure("Schémas du zoom de GNOME introuvables");
    }
    if (context_ == MainContext::DispatchBeforeUse) {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
    }
    return on ? switchOn() : switchOff();
}

Status GnomeZoomSwitch::switchOn() {
    for (const auto& key : kKeys) {
        if (const ZoomSetting setting(key); !setting.writable()) {
            return Status::failure("Réglage verrouillé : " + setting.label());
        }
    }
    // Saved values already there come from a run that did not put them back: they are still
    // the user's own, and the current ones are ours.
    if (!saved_.exist()) {
        if (auto status = saveUserValues(); !status) {
            return status;
        }
    }
    auto status = Status::success();
    for (const auto& key : kKeys) {
        if (const ZoomSetting setting(key); !setting.set(key.ours)) {
            status = Status::failure("Réglage refusé : " + setting.label());
            break;
        }
    }
    g_settings_sync();
    return status;
}

Status GnomeZoomSwitch::saveUserValues() {
    Json values = Json::object();
    for (const auto& key : kKeys) {
        const auto value = ZoomSetting(key).userValue();
        values[key.schema][key.key] = value ? Json(*value) : Json(nullptr);
    }
    return saved_.save(values);
}

Status GnomeZoomSwitch::switchOff() {
    const auto values = saved_.read();
    if (!values) {
        return Status::success();
    }
    auto status = Status::success();
    for (auto key = std::rbegin(kKeys); key != std::rend(kKeys); ++key) {
        const ZoomSetting setting(*key);
        const auto schema = values->find(key->schema);
        const auto text =
            schema != values->end() ? json::stringMember(*schema, key->key) : std::nullopt;
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
    g_settings_sync();
    if (!status) {
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

}  // namespace olvane::platform::os
