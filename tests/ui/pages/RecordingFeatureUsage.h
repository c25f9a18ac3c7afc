#pragma once

#include <vector>

#include "browser/WebFeatureUsage.h"

namespace olvane::test {

class RecordingFeatureUsage final : public WebFeatureUsage {
  public:
    void featureUsed(WebFeatureCategory category) override { used.push_back(category); }
    std::vector<WebFeatureCategory> used;
};

}  // namespace olvane::test
