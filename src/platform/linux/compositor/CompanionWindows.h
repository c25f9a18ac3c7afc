#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/Geometry.h"
#include "platform/Handle.h"
#include "platform/Signal.h"
#include "platform/linux/compositor/CompanionLink.h"

namespace olvane::platform::os {

// The windows as the attached companion last reported them, in Xwayland's pixels (those of
// the X11 windows the effects draw in). Each has a number of the window server's kind: an
// Xwayland window keeps its X11 one, a native window gets one no X11 window can have.
class CompanionWindows {
  public:
    // `xwaylandScale`: Xwayland's pixels per logical pixel of the compositor.
    explicit CompanionWindows(CompanionLink& link, double xwaylandScale = 1);
    CompanionWindows(const CompanionWindows&) = delete;
    CompanionWindows& operator=(const CompanionWindows&) = delete;

    // A companion is attached and has reported its windows.
    bool live() const { return live_; }
    const CompanionReport& report() const { return report_; }
    std::uint32_t numberOf(const CompositorWindow& window) const;
    const CompositorWindow* withNumber(std::uint32_t number) const;
    // Whether the number is a native window's, which no X11 window can have.
    static bool isNative(std::uint32_t number) { return number >= kFirstNativeNumber; }
    const CompositorWindow* withId(const std::string& id) const;
    void setXwaylandScale(double scale) { scale_ = scale > 0 ? scale : 1; }
    // A point or frame of the compositor in Xwayland's pixels, and back.
    Point toXwayland(const Point& point) const { return {point.x * scale_, point.y * scale_}; }
    Rect toXwayland(const Rect& rect) const;
    Rect toCompositor(const Rect& rect) const;

    // At each report, and when the companion comes or goes.
    Handle observe(std::function<void()> observer) {
        return changed_.connect([observer] { observer(); });
    }

  private:
    void take(const CompanionReport& report);
    void companionChanged();

    static constexpr std::uint32_t kFirstNativeNumber = 0x80000000u;

    CompanionLink& link_;
    double scale_;
    bool live_ = false;
    CompanionReport report_;
    std::map<std::string, std::uint32_t> nativeNumbers_;
    std::uint32_t nextNativeNumber_ = kFirstNativeNumber;
    Signal<> changed_;
    Handle reports_;
    Handle companion_;
};

}  // namespace olvane::platform::os
