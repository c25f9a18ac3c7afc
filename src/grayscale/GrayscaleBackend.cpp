#include "grayscale/GrayscaleBackend.h"

#include "grayscale/AccessibilityBridge.h"
#include "grayscale/FramebufferService.h"
#include "model/Logger.h"
#include "platform/ColorRemapDevice.h"

namespace olvane {

GrayscaleBackend::GrayscaleBackend(FramebufferService& framebuffer,
                                   AccessibilityBridge& accessibility)
    : framebuffer_(framebuffer), accessibility_(accessibility) {}

void GrayscaleBackend::switchOn() {
    if (framebuffer_.isAvailable()) {
        framebuffer_.enableGrayscale();
    } else {
        accessibility_.setGrayscaleEnabled(true);
    }
}

void GrayscaleBackend::switchOff() {
    if (framebuffer_.isAvailable()) {
        framebuffer_.disableGrayscale();
    } else {
        accessibility_.setGrayscaleEnabled(false);
    }
}

void GrayscaleBackend::forceColour() {
    framebuffer_.forceDisable();
    accessibility_.setGrayscaleEnabled(false);
}

void GrayscaleBackend::resetLeftoverGrayscale() {
    framebuffer_.resetLeftoverGrayscale();
    accessibility_.resetLeftoverGrayscale();
}

void GrayscaleBackend::reapplyIfLost() {
    if (!framebuffer_.isAvailable()) {
        accessibility_.setGrayscaleEnabled(true);
        return;
    }
    if (!framebuffer_.canReadMode()) {
        framebuffer_.enableGrayscale();
        return;
    }
    const auto mode = framebuffer_.readMode();
    if (mode == platform::kRemapModeGrayscale) {
        return;
    }
    if (mode) {
        Logger::grayscaleFilter().info("Wake watchdog : mode DCP réinitialisé (%u), ré-application",
                                       *mode);
    }
    switchOn();
}

}  // namespace olvane
