#include "grayscale/WakeRechecks.h"

namespace olvane {

WakeRechecks::WakeRechecks(platform::RunLoop& loop, std::function<void()> check)
    : loop_(loop), check_(std::move(check)) {}

void WakeRechecks::schedule() {
    const auto id = ++wakeID_;
    for (std::size_t i = 0; i < kDelaysSeconds.size(); ++i) {
        checks_[i] = loop_.after(platform::seconds(kDelaysSeconds[i]), [this, id] {
            if (id == wakeID_) {
                check_();
            }
        });
    }
}

}  // namespace olvane
