#include "platform/ServiceStatus.h"

namespace olvane::platform {

const char* serviceStatusName(ServiceStatus status) {
    switch (status) {
        case ServiceStatus::NotRegistered:
            return "notRegistered";
        case ServiceStatus::Enabled:
            return "enabled";
        case ServiceStatus::RequiresApproval:
            return "requiresApproval";
        case ServiceStatus::NotFound:
            return "notFound";
    }
    return "unknown";
}

}  // namespace olvane::platform
