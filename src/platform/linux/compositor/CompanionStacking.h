#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/CompositorStacking.h"
#include "platform/Geometry.h"
#include "platform/Handle.h"
#include "platform/linux/compositor/CompanionLink.h"
#include "platform/linux/compositor/CompanionWindows.h"

namespace olvane::platform::os {

// Where a fog stands against its target in a report, and what that asks of OlvaneMac.
struct FogStanding {
    // The fog is behind its target, the frontmost shown window of its layer: only raising the
    // fog to the top puts it right above.
    bool mustRise = false;
    // The parts of the target's client area that windows between the target and the fog cover,
    // in the report's pixels: the fog would show over those windows there.
    std::vector<Rect> covered;

    bool operator==(const FogStanding&) const = default;
};

// Nullopt when the report lacks the fog or its target (the companion's ids).
std::optional<FogStanding> fogStanding(const CompanionReport& report, const std::string& fogId,
                                       const std::string& targetId);

// Keeps OlvaneMac's fogs (Xwayland windows) right above their targets through KWin's companion,
// which sees native Wayland windows as well: it asks the companion to stack a fog once the fog is
// reported, again whenever a companion attaches anew, and lets it go with its handle. KWin 5
// cannot restack: there OlvaneMac is told when to raise the fog itself.
// raiseToTop is told only where the companion cannot restack, once for each stacking that asks
// it; coveredParts on every KWin at each change, in Xwayland's global pixels (a companion that
// restacks keeps them empty but for a moment).
class CompanionStacking final : public CompositorStacking {
  public:
    CompanionStacking(CompanionLink& link, CompanionWindows& windows);
    ~CompanionStacking() override = default;
    CompanionStacking(const CompanionStacking&) = delete;
    CompanionStacking& operator=(const CompanionStacking&) = delete;

    // `fogX11` stays right above the window numbered `targetNumber` (CompanionWindows' numbers)
    // while the handle lives; the handle must not outlive this. The callbacks may run before
    // this returns, when both windows are reported already.
    Handle keepJustAbove(std::uint32_t fogX11, std::uint32_t targetNumber,
                         Callbacks callbacks) override;
    // A native window, while KWin's companion reports.
    bool keeps(std::uint32_t targetNumber) const override;
    // Gives the window numbered `targetNumber` the focus (a click on its fog).
    void activate(std::uint32_t targetNumber) override;

  private:
    struct Kept {
        std::uint32_t fogX11 = 0;
        std::uint32_t targetNumber = 0;
        Callbacks callbacks;
        // The ids the companion was last asked to stack; empty when it holds none of ours.
        std::string stackedFog;
        std::string stackedTarget;
        // The stacking (the ids, front to back) the fog was last raised at.
        std::vector<std::string> raisedAt;
        std::vector<Rect> covered;
    };

    bool atKWin() const;
    bool companionRestacks() const;
    void companionChanged();
    void update(std::uint64_t id);
    void ask(Kept& kept, const std::string& fog, const std::string& target);
    void release(std::uint64_t id);

    CompanionLink& link_;
    CompanionWindows& windows_;
    std::map<std::uint64_t, Kept> kept_;
    std::uint64_t nextId_ = 1;
    Handle windowsWatch_;
    Handle companionWatch_;
};

}  // namespace olvane::platform::os
