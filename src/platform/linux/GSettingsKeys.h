#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/ComposedText.h"
#include "platform/Handle.h"

namespace olvane::platform::os {

// GSettings keys by schema and key name, values in GVariant text form. GSettings itself lives in
// a module opened at the first use, so that gio and the libraries it brings stay out of the
// start of the programs that may never need them.
class GSettingsKeys {
  public:
    virtual ~GSettingsKeys() = default;

    // The process's keys, the module opened at the first call; null when it cannot be (the
    // reason is in `*failure`, when given).
    static GSettingsKeys* shared(ComposedText* failure = nullptr);

    // Whether the schema is installed with that key. Every other call needs it to be.
    virtual bool has(const char* schema, const char* key) = 0;
    virtual bool writable(const char* schema, const char* key) = 0;
    // The user's own value; nullopt when the key holds its default.
    virtual std::optional<std::string> userValue(const char* schema, const char* key) = 0;
    // Whether the value now, default or not, is the one `text` gives.
    virtual bool holds(const char* schema, const char* key, const std::string& text) = 0;
    // False when `text` is no valid value of the key, or the key cannot be written.
    virtual bool set(const char* schema, const char* key, const std::string& text) = 0;
    virtual void reset(const char* schema, const char* key) = 0;
    // Hands the pending writes over to the settings' store.
    virtual void sync() = 0;
    // Gives this thread's main context its pending turns, so that the changes of other programs
    // are seen where no one else runs it.
    virtual void dispatchPending() = 0;
    // `changed` runs from the main context whenever the key changes.
    virtual Handle watch(const char* schema, const char* key, std::function<void()> changed) = 0;
    // For a process that must outlive the session bus: GDBus's shared session connection, which
    // dconf's writes go through, ends its process with SIGTERM when the bus goes. From now on
    // the connection every use finds, or makes, leaves the process running.
    virtual void keepProcessWhenSessionBusCloses() = 0;
};

// The module's entry point: the one instance, which the module keeps.
using SharedGSettingsKeys = GSettingsKeys*();
inline constexpr const char* kSharedGSettingsKeys = "olvane_shared_gsettings_keys";
inline constexpr const char* kGSettingsModuleFile = "olvane_gsettings.so";

// The log's words for the module that could not be opened, with the failure GSettingsKeys::shared
// gave: the places it names may be in the user's folders.
ComposedText gsettingsModuleFailureText(const ComposedText& failure);

}  // namespace olvane::platform::os
