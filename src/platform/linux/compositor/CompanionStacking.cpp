#include "platform/linux/compositor/CompanionStacking.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/Json.h"
#include "platform/linux/KWinVersion.h"

namespace olvane::platform::os {
namespace {

// The window types KWin stacks in layers of their own, above or under the normal one.
constexpr std::array<std::string_view, 8> kOwnLayerTypes = {
    "DESKTOP", "DOCK", "NOTIFICATION", "TOOLTIP", "POPUP_MENU", "DROPDOWN_MENU", "COMBO", "DND"};

bool inNormalLayer(const CompositorWindow& window) {
    return !window.keptAbove &&
           std::ranges::find(kOwnLayerTypes, window.type) == kOwnLayerTypes.end();
}

Rect intersection(const Rect& a, const Rect& b) {
    const double x = std::max(a.x, b.x);
    const double y = std::max(a.y, b.y);
    return {x, y, std::min(a.maxX(), b.maxX()) - x, std::min(a.maxY(), b.maxY()) - y};
}

std::vector<std::string> stackingOf(const CompanionReport& report) {
    std::vector<std::string> ids;
    for (const auto& window : report.windows) {
        ids.push_back(window.id);
    }
    return ids;
}

}  // namespace

std::optional<FogStanding> fogStanding(const CompanionReport& report, const std::string& fogId,
                                       const std::string& targetId) {
    const auto& windows = report.windows;
    const auto withId = [&](const std::string& id) {
        return std::ranges::find_if(windows, [&](const auto& window) { return window.id == id; });
    };
    const auto fog = withId(fogId);
    const auto target = withId(targetId);
    if (fog == windows.end() || target == windows.end() || fog == target) {
        return std::nullopt;
    }
    FogStanding standing;
    if (fog < target) {
        for (auto between = fog + 1; between != target; ++between) {
            const auto part = intersection(between->frame, target->client);
            if (between->shown && !part.isEmpty()) {
                standing.covered.push_back(part);
            }
        }
    } else {
        standing.mustRise = target->shown && std::none_of(windows.begin(), target, [](auto& w) {
                                return w.shown && inNormalLayer(w);
                            });
    }
    return standing;
}

CompanionStacking::CompanionStacking(CompanionLink& link, CompanionWindows& windows)
    : link_(link), windows_(windows) {
    companionWatch_ = link_.observeCompanion([this] { companionChanged(); });
    windowsWatch_ = windows_.observe([this] {
        std::vector<std::uint64_t> ids;
        for (const auto& [id, kept] : kept_) {
            ids.push_back(id);
        }
        for (const auto id : ids) {
            update(id);
        }
    });
}

Handle CompanionStacking::keepJustAbove(std::uint32_t fogX11, std::uint32_t targetNumber,
                                        Callbacks callbacks) {
    const auto id = nextId_++;
    Kept& kept = kept_[id];
    kept.fogX11 = fogX11;
    kept.targetNumber = targetNumber;
    kept.callbacks = std::move(callbacks);
    update(id);
    return Handle([this, id] { release(id); });
}

void CompanionStacking::activate(std::uint32_t targetNumber) {
    const auto* target = atKWin() ? windows_.withNumber(targetNumber) : nullptr;
    if (target) {
        link_.ask(json::dumpCompact(Json{{"activate", target->id}}));
    }
}

bool CompanionStacking::keeps(std::uint32_t targetNumber) const {
    return atKWin() && windows_.live() && windows_.isNative(targetNumber);
}

bool CompanionStacking::atKWin() const {
    return link_.companion() && link_.companion()->compositor == "kwin";
}

bool CompanionStacking::companionRestacks() const {
    if (!atKWin()) {
        return false;
    }
    const auto version =
        KWinVersion::fromSupportInformation("KWin version: " + link_.companion()->version);
    return version && version->major >= 6;
}

void CompanionStacking::companionChanged() {
    // A companion that comes (back) holds none of our fogs.
    for (auto& [id, kept] : kept_) {
        kept.stackedFog.clear();
        kept.stackedTarget.clear();
        kept.raisedAt.clear();
    }
}

void CompanionStacking::update(std::uint64_t id) {
    const auto found = kept_.find(id);
    if (found == kept_.end()) {
        return;
    }
    Kept& kept = found->second;
    const bool seen = atKWin() && windows_.live();
    const auto* fog = seen ? windows_.withNumber(kept.fogX11) : nullptr;
    const auto* target = seen ? windows_.withNumber(kept.targetNumber) : nullptr;
    const auto standing =
        fog && target ? fogStanding(windows_.report(), fog->id, target->id) : std::nullopt;
    if (!standing) {
        // A window gone takes its pair out of the companion.
        kept.stackedFog.clear();
        kept.stackedTarget.clear();
        kept.raisedAt.clear();
    } else if (kept.stackedFog != fog->id || kept.stackedTarget != target->id) {
        ask(kept, fog->id, target->id);
    }
    bool raise = false;
    if (standing && standing->mustRise && !companionRestacks()) {
        auto stacking = stackingOf(windows_.report());
        raise = stacking != kept.raisedAt;
        kept.raisedAt = std::move(stacking);
    } else {
        kept.raisedAt.clear();
    }
    auto covered = standing ? standing->covered : std::vector<Rect>{};
    const bool coveredChanged = covered != kept.covered;
    kept.covered = covered;
    // Last: a callback may let this fog go.
    const auto callbacks = kept.callbacks;
    if (coveredChanged && callbacks.coveredParts) {
        callbacks.coveredParts(covered);
    }
    if (raise && callbacks.raiseToTop) {
        callbacks.raiseToTop();
    }
}

void CompanionStacking::ask(Kept& kept, const std::string& fog, const std::string& target) {
    kept.stackedFog = fog;
    kept.stackedTarget = target;
    link_.ask(json::dumpCompact(Json{{"stack", Json{{"fog", fog}, {"target", target}}}}));
}

void CompanionStacking::release(std::uint64_t id) {
    const auto found = kept_.find(id);
    if (found == kept_.end()) {
        return;
    }
    if (!found->second.stackedFog.empty() && atKWin()) {
        link_.ask(json::dumpCompact(Json{{"unstack", found->second.stackedFog}}));
    }
    kept_.erase(found);
}

}  // namespace olvane::platform::os
