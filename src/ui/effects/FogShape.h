#pragma once

#include <QRegion>
#include <QSize>
#include <vector>

#include "friction/TrailPoint.h"

namespace olvane::ui {

// Where no compositor draws translucent windows, the fog is opaque white and its holes are cut
// out of the window's shape: a hard-edged circle where the soft hole would be at least half
// clear (its radius shrinks as the hole fills in, and it is gone at half opacity).
QRegion fogShapeWithHoles(QSize size, double radius, const std::vector<TrailPoint>& trail);

}  // namespace olvane::ui
