#pragma once

#include <optional>
#include <string>

namespace olvane::platform::os {

// Where a program of ours writes its log lines: standard error, and the systemd journal under
// `journalIdentifier` when one is given and a journal runs. A program whose standard error the
// journal keeps already (a user service) gives none, so that its lines are not kept twice.
void addProgramLogSinks(const std::optional<std::string>& journalIdentifier);

}  // namespace olvane::platform::os
