#include "ui/foundation/PlatformSymbol.h"

namespace olvane::ui {

const char* platformSymbol(Platform platform) {
    switch (platform) {
        case Platform::youtube:
            return "play.rectangle.fill";
        case Platform::instagram:
            return "camera.fill";
        case Platform::linkedin:
            return "briefcase.fill";
        case Platform::facebook:
            return "person.2.fill";
    }
    return "globe";
}

}  // namespace olvane::ui
