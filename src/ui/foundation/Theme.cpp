#include "ui/foundation/Theme.h"

#include <cmath>

namespace olvane::ui {
namespace {

QFont::Weight qtWeight(std::string_view face) {
    if (face == "Inter24pt-Medium") {
        return QFont::Medium;
    }
    if (face == "Inter24pt-SemiBold") {
        return QFont::DemiBold;
    }
    if (face == "Inter24pt-Bold") {
        return QFont::Bold;
    }
    if (face == "Inter24pt-Black") {
        return QFont::Black;
    }
    return QFont::Normal;
}

QFont sizedFont(const char* family, qreal size, FontWeight weight) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(size))));
    font.setWeight(qtWeight(interFaceName(weight)));
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

}  // namespace

QFont Theme::font(qreal size, FontWeight weight) {
    return sizedFont(kFontFamily, size, weight);
}

QFont Theme::monospacedFont(qreal size, FontWeight weight) {
    QFont font = sizedFont(kMonospacedFamily, size, weight);
    font.setStyleHint(QFont::Monospace);
    return font;
}

}  // namespace olvane::ui
