#pragma once

#include <map>
#include <string>

#include "platform/Handle.h"
#include "platform/Json.h"
#include "platform/Signal.h"

namespace olvane::platform {

// In-process notifications by name, delivered synchronously to the observers of that name.
class NotificationCenter {
  public:
    using Observer = std::function<void(const Json& userInfo)>;

    Handle observe(const std::string& name, Observer observer);
    void post(const std::string& name, const Json& userInfo = Json::object());

  private:
    std::map<std::string, Signal<Json>, std::less<>> signals_;
};

}  // namespace olvane::platform
