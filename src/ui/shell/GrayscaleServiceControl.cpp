#include "ui/shell/GrayscaleServiceControl.h"

#include "app/AppServices.h"
#include "grayscale/GrayscaleFilterService.h"

namespace olvane::ui {

void GrayscaleServiceControl::enable() {
    services_.grayscale().enable();
}

void GrayscaleServiceControl::disable() {
    services_.grayscale().disable();
}

void GrayscaleServiceControl::publishAllowedSites() {
    services_.grayscale().exportAllowedSites();
}

}  // namespace olvane::ui
