#include "platform/linux/compositor/CompanionWindows.h"

#include <set>

namespace olvane::platform::os {

CompanionWindows::CompanionWindows(CompanionLink& link, double xwaylandScale)
    : link_(link), scale_(xwaylandScale > 0 ? xwaylandScale : 1) {
    reports_ = link_.observeReport([this](const CompanionReport& report) { take(report); });
    companion_ = link_.observeCompanion([this] { companionChanged(); });
}

void CompanionWindows::take(const CompanionReport& report) {
    report_ = report;
    for (auto& window : report_.windows) {
        window.client = toXwayland(window.client);
        window.frame = toXwayland(window.frame);
    }
    // The numbers of windows gone go with them; a number is never given twice.
    std::set<std::string> present;
    for (const auto& window : report_.windows) {
        if (window.x11 == 0) {
            present.insert(window.id);
            if (!nativeNumbers_.contains(window.id)) {
                nativeNumbers_[window.id] = nextNativeNumber_++;
            }
        }
    }
    std::erase_if(nativeNumbers_,
                  [&](const auto& entry) { return !present.contains(entry.first); });
    live_ = true;
    changed_.emit();
}

void CompanionWindows::companionChanged() {
    if (link_.companion()) {
        return;  // live once it reported
    }
    live_ = false;
    report_ = {};
    nativeNumbers_.clear();
    changed_.emit();
}

std::uint32_t CompanionWindows::numberOf(const CompositorWindow& window) const {
    if (window.x11 != 0) {
        return window.x11;
    }
    const auto found = nativeNumbers_.find(window.id);
    return found == nativeNumbers_.end() ? 0 : found->second;
}

const CompositorWindow* CompanionWindows::withNumber(std::uint32_t number) const {
    for (const auto& window : report_.windows) {
        if (numberOf(window) == number) {
            return &window;
        }
    }
    return nullptr;
}

const CompositorWindow* CompanionWindows::withId(const std::string& id) const {
    for (const auto& window : report_.windows) {
        if (window.id == id) {
            return &window;
        }
    }
    return nullptr;
}

Rect CompanionWindows::toXwayland(const Rect& rect) const {
    return {rect.x * scale_, rect.y * scale_, rect.width * scale_, rect.height * scale_};
}

Rect CompanionWindows::toCompositor(const Rect& rect) const {
    return {rect.x / scale_, rect.y / scale_, rect.width / scale_, rect.height / scale_};
}

}  // namespace olvane::platform::os
