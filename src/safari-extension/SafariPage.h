#pragma once

#include <string>

#include "platform/Json.h"

namespace olvane::safari {

// A page whose script talks to the extension.
class SafariPage {
  public:
    virtual ~SafariPage() = default;
    virtual void dispatchMessageToScript(const std::string& name, const Json& userInfo) = 0;
};

}  // namespace olvane::safari
