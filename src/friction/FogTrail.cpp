#include "friction/FogTrail.h"

#include <algorithm>
#include <cmath>

namespace olvane::fog {

void appendSample(std::vector<TrailPoint>& trail, platform::Point position, double now,
                  double clearRadius, std::size_t maxPoints) {
    const double spacing = 0.2 * clearRadius;
    if (!trail.empty()) {
        const auto last = trail.back().position;
        const double dx = position.x - last.x;
        const double dy = position.y - last.y;
        const double distance = std::hypot(dx, dy);
        if (distance > spacing) {
            const auto n = static_cast<std::size_t>(std::min(distance / spacing, 1e9));
            // Points that the cap would remove at once are not made.
            const std::size_t first = n > maxPoints ? n - maxPoints + 1 : 1;
            for (std::size_t i = first; i < n; ++i) {
                const double t = static_cast<double>(i) / static_cast<double>(n);
                trail.push_back({{last.x + dx * t, last.y + dy * t}, now, 1.0});
            }
        }
    }
    trail.push_back({position, now, 1.0});
    if (trail.size() > maxPoints) {
        trail.erase(trail.begin(), trail.end() - static_cast<std::ptrdiff_t>(maxPoints));
    }
}

void fade(std::vector<TrailPoint>& trail, double now, double regenerationDuration) {
    std::size_t kept = 0;
    for (auto& point : trail) {
        const double opacity = 1 - (now - point.timestamp) / regenerationDuration;
        if (opacity > 0) {
            point.opacity = opacity;
            trail[kept++] = point;
        }
    }
    trail.resize(kept);
}

}  // namespace olvane::fog
