#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/linux/CtmMatrix.h"

namespace olvane::test {

// Gives every connected output of `display` a "CTM" property holding the identity (or `words`),
// as a CTM-capable driver exposes it (Xvfb as shipped has none); false when it could not.
bool addCtmToOutputs(
    const std::string& display,
    const platform::os::CtmWords& words = platform::os::encodeCtm(platform::os::kIdentityMatrix));

// The CTM of every connected output that has one, in the server's order.
std::vector<platform::os::CtmWords> ctmOfOutputs(const std::string& display);

}  // namespace olvane::test
