#pragma once

#include "browser/WebFeatureCategory.h"

namespace olvane {

// What the pages tell the extension prompts: the user has just set up a web feature (a site
// added to the grayscale exceptions or to the targets, a content rule switched on). View models
// take it in their constructor; tests give them a fake.
class WebFeatureUsage {
  public:
    virtual ~WebFeatureUsage() = default;
    virtual void featureUsed(WebFeatureCategory category) = 0;
};

}  // namespace olvane
