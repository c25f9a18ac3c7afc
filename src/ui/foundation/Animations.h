#pragma once

class QVariantAnimation;

namespace olvane::ui {

// Every animation of the interface starts here, so one switch can make them all jump to their
// end at once (for pictures and tests that must not wait on the clock).
class Animations {
  public:
    static void start(QVariantAnimation& animation);

    static bool jumpsToEnd();
    static void setJumpToEnd(bool jump);
};

}  // namespace olvane::ui
