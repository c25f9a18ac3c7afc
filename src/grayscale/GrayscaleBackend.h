#pragma once

namespace olvane {

class AccessibilityBridge;
class FramebufferService;

// The display switch the filter drives: the framebuffer back-end when its probe succeeded, the
// desktop's grayscale switch otherwise. Results are not looked at: both back-ends log their own
// failures, and the filter's state does not depend on them.
class GrayscaleBackend {
  public:
    GrayscaleBackend(FramebufferService& framebuffer, AccessibilityBridge& accessibility);

    void switchOn();
    void switchOff();
    // Colour by every means, whichever back-end is in use.
    void forceColour();
    // Colour back, by either back-end, where a run that could not put it back left our own
    // grayscale; any setting of the user's own stays.
    void resetLeftoverGrayscale();
    // After a wake: grey again when the display may have lost it. The framebuffer's mode is
    // read back when it can be; any doubt re-applies.
    void reapplyIfLost();

  private:
    FramebufferService& framebuffer_;
    AccessibilityBridge& accessibility_;
};

}  // namespace olvane
