#pragma once

#include <filesystem>
#include <map>
#include <vector>

#include "platform/Status.h"

namespace olvane::platform {

// The user's wastebasket: what goes there can be brought back from the file manager.
class Trash {
  public:
    struct Outcome {
        Status status = Status::success();
        // Where each item moved went, also for the items moved before a failure.
        std::map<std::filesystem::path, std::filesystem::path> newLocations;
    };

    virtual ~Trash() = default;

    // Moves the items in order, stopping at the first that cannot go.
    virtual Outcome recycle(const std::vector<std::filesystem::path>& items) = 0;
    // Whether this user may take `item` from where it is (a folder installed for every user may
    // not be).
    virtual bool mayRecycle(const std::filesystem::path& item) const = 0;
};

}  // namespace olvane::platform
