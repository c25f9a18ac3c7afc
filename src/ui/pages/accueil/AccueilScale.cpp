#include "ui/pages/accueil/AccueilScale.h"

#include <algorithm>

namespace olvane::ui {

double AccueilScale::forPageArea(double width, double height) {
    const double widthTerm = std::max(1.0, (width - kHorizontalMargins) / kRestingContentWidth);
    return std::min(widthTerm, height / kRestingHeight);
}

}  // namespace olvane::ui
