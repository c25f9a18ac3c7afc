#include "ui/foundation/Animations.h"

#include <QVariantAnimation>

namespace olvane::ui {
namespace {

bool& jumpToEnd() {
    static bool jump = false;
    return jump;
}

}  // namespace

void Animations::start(QVariantAnimation& animation) {
    animation.start();
    if (jumpToEnd()) {
        // Reaching the last instant sends the end value and finishes the animation.
        animation.setCurrentTime(animation.totalDuration());
    }
}

bool Animations::jumpsToEnd() {
    return jumpToEnd();
}

void Animations::setJumpToEnd(bool jump) {
    jumpToEnd() = jump;
}

}  // namespace olvane::ui
