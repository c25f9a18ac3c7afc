#pragma once

#include <sys/types.h>

#include <functional>
#include <optional>
#include <string>

#include "model/RedListConfig.h"

namespace olvane {

// The waiting screen of the delay: a countdown over every display before a target application
// may be used. Its owner shows and closes it and hears how it ended through the two callbacks.
class DelayOverlay {
  public:
    virtual ~DelayOverlay() = default;
    // Closes any screen shown, then shows one for the target application `bundleID`: for its
    // instance `process`, or when absent the first one seen in front.
    virtual void show(const RedListConfig& config, const std::string& bundleID,
                      std::optional<pid_t> process) = 0;
    // Closes without calling either callback.
    virtual void close() = 0;
    // The instance the screen is shown for, when known: an application may run more than once.
    virtual std::optional<pid_t> targetProcess() const = 0;

    // The user continued once the countdown ran out; with the target's ID.
    std::function<void(const std::string& bundleID)> onDelayComplete;
    // The screen closed by itself without completion.
    std::function<void()> onCancel;
};

}  // namespace olvane
