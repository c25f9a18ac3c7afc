#pragma once

#include <cstdint>

namespace olvane::platform {

// Where a login item or a background agent stands with the system.
enum class ServiceStatus : std::uint8_t { NotRegistered, Enabled, RequiresApproval, NotFound };

const char* serviceStatusName(ServiceStatus status);

}  // namespace olvane::platform
