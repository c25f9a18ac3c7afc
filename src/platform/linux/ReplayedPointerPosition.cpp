#include "platform/linux/ReplayedPointerPosition.h"

namespace olvane::platform::os {

ReplayedPointerPosition::ReplayedPointerPosition(X11Pointer* pointer) : pointer_(pointer) {
    if (!pointer_) {
        position_ = Point{};
    }
}

void ReplayedPointerPosition::resync() {
    if (!pointer_) {
        return;
    }
    const auto state = pointer_->state();
    // A question asked earlier was answered before this one: its answer is older.
    (void)pointer_->takePositionAnswer();
    movedSinceAsked_ = {};
    if (state) {
        position_ = state->position;
    }
}

std::optional<Point> ReplayedPointerPosition::current() {
    if (pointer_ && !position_) {
        resync();
    } else if (pointer_) {
        takeAnswer();
    }
    return position_;
}

void ReplayedPointerPosition::moved(double dx, double dy) {
    if (!position_) {
        return;
    }
    position_->x += dx;
    position_->y += dy;
    movedSinceAsked_.x += dx;
    movedSinceAsked_.y += dy;
}

void ReplayedPointerPosition::takeAnswer() {
    if (pointer_->isAskingPosition()) {
        const auto answer = pointer_->takePositionAnswer();
        if (pointer_->isAskingPosition()) {
            return;
        }
        if (answer) {
            position_ = Point{answer->x + movedSinceAsked_.x, answer->y + movedSinceAsked_.y};
        }
    }
    movedSinceAsked_ = {};
    pointer_->askPosition();
}

}  // namespace olvane::platform::os
