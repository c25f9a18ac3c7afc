// GSettings over gio, in a module of its own: see GSettingsKeys.
#include <gio/gio.h>

#include <memory>
#include <utility>

#include "platform/linux/GSettingsKeys.h"

namespace olvane::platform::os {
namespace {

struct Unref {
    void operator()(GSettings* settings) const { g_object_unref(settings); }
    void operator()(GSettingsSchema* schema) const { g_settings_schema_unref(schema); }
    void operator()(GSettingsSchemaKey* key) const { g_settings_schema_key_unref(key); }
    void operator()(GVariant* value) const { g_variant_unref(value); }
    void operator()(gchar* text) const { g_free(text); }
    void operator()(GDBusConnection* connection) const { g_object_unref(connection); }
};
template <typename T>
using Owned = std::unique_ptr<T, Unref>;

Owned<GSettingsSchema> lookUp(const char* schema) {
    auto* source = g_settings_schema_source_get_default();
    return Owned<GSettingsSchema>(source ? g_settings_schema_source_lookup(source, schema, TRUE)
                                         : nullptr);
}

// One key, with its schema's description of it.
class Key {
  public:
    Key(const char* schema, const char* key)
        : name_(key),
          schema_(lookUp(schema)),
          key_(g_settings_schema_get_key(schema_.get(), key)),
          settings_(g_settings_new_full(schema_.get(), nullptr, nullptr)) {}

    GSettings* settings() const { return settings_.get(); }
    const char* name() const { return name_; }

    Owned<GVariant> parse(const std::string& text) const {
        return Owned<GVariant>(g_variant_parse(g_settings_schema_key_get_value_type(key_.get()),
                                               text.c_str(), nullptr, nullptr, nullptr));
    }
    bool inRange(GVariant* value) const {
        return g_settings_schema_key_range_check(key_.get(), value);
    }

  private:
    const char* name_;
    Owned<GSettingsSchema> schema_;
    Owned<GSettingsSchemaKey> key_;
    Owned<GSettings> settings_;
};

class GioSettingsKeys final : public GSettingsKeys {
  public:
    bool has(const char* schema, const char* key) override {
        const auto found = lookUp(schema);
        return found && g_settings_schema_has_key(found.get(), key);
    }

    bool writable(const char* schema, const char* key) override {
        return g_settings_is_writable(use(schema, key).settings(), key);
    }

    std::optional<std::string> userValue(const char* schema, const char* key) override {
        const Owned<GVariant> value(g_settings_get_user_value(use(schema, key).settings(), key));
        if (!value) {
            return std::nullopt;
        }
        const Owned<gchar> text(g_variant_print(value.get(), FALSE));
        return std::string(text.get());
    }

    bool holds(const char* schema, const char* key, const std::string& text) override {
        const auto setting = use(schema, key);
        const auto wanted = setting.parse(text);
        const Owned<GVariant> value(g_settings_get_value(setting.settings(), key));
        return wanted && g_variant_equal(wanted.get(), value.get());
    }

    bool set(const char* schema, const char* key, const std::string& text) override {
        const auto setting = use(schema, key);
        const auto value = setting.parse(text);
        return value && setting.inRange(value.get()) &&
               g_settings_set_value(setting.settings(), key, value.get());
    }

    void reset(const char* schema, const char* key) override {
        g_settings_reset(use(schema, key).settings(), key);
    }

    void sync() override { g_settings_sync(); }

    void dispatchPending() override {
        while (g_main_context_iteration(nullptr, FALSE)) {
        }
    }

    Handle watch(const char* schema, const char* key, std::function<void()> changed) override {
        keepSessionBus();
        auto watch = std::make_shared<Watch>(schema, key, std::move(changed));
        return Handle([watch] {});
    }

    // No connection yet: a bus that takes none on would hold the caller.
    void keepProcessWhenSessionBusCloses() override { keepProcess_ = true; }

  private:
    // Each GSettings made here may have dconf connect to the session bus.
    Key use(const char* schema, const char* key) {
        keepSessionBus();
        return Key(schema, key);
    }

    // Made or found before dconf asks for it, and held, so that dconf's is this one; a closed
    // one is let go rather than kept from the next bus.
    void keepSessionBus() {
        if (!keepProcess_ || (sessionBus_ && !g_dbus_connection_is_closed(sessionBus_.get()))) {
            return;
        }
        sessionBus_.reset(g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, nullptr));
        if (sessionBus_) {
            g_dbus_connection_set_exit_on_close(sessionBus_.get(), FALSE);
        }
    }

    bool keepProcess_ = false;
    Owned<GDBusConnection> sessionBus_;

    // GSettings' change notices of one key, delivered in the main context.
    class Watch {
      public:
        Watch(const char* schema, const char* key, std::function<void()> changed)
            : changed_(std::move(changed)),
              settings_(g_settings_new_full(lookUp(schema).get(), nullptr, nullptr)) {
            const std::string signal = std::string("changed::") + key;
            handler_ =
                g_signal_connect(settings_.get(), signal.c_str(), G_CALLBACK(&Watch::notify), this);
            // GSettings sends change notices only for keys read since it was made.
            const Owned<GVariant> value(g_settings_get_value(settings_.get(), key));
        }
        ~Watch() { g_signal_handler_disconnect(settings_.get(), handler_); }
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;

      private:
        static void notify(GSettings*, const gchar*, gpointer watch) {
            static_cast<Watch*>(watch)->changed_();
        }

        std::function<void()> changed_;
        Owned<GSettings> settings_;
        gulong handler_ = 0;
    };
};

}  // namespace
}  // namespace olvane::platform::os

extern "C" olvane::platform::os::GSettingsKeys* olvane_shared_gsettings_keys() {
    static olvane::platform::os::GioSettingsKeys keys;
    return &keys;
}
