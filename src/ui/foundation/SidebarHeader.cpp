#include "ui/foundation/SidebarHeader.h"

#include <QFontMetrics>
#include <QPainter>

#include "ui/foundation/LogoOlvane.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr int kPaddingH = 24;
constexpr int kPaddingTop = 32;
constexpr int kPaddingBottom = 16;
constexpr int kLogoSide = 64;
constexpr int kSpacing = 16;

}  // namespace

SidebarHeader::SidebarHeader(QWidget* parent) : HoverButton(parent) {
    setAccessibleName(QStringLiteral("Olvane"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize SidebarHeader::sizeHint() const {
    const int text = QFontMetrics(Theme::fontMedium32()).height();
    return {kLogoSide + kPaddingH * 2, kPaddingTop + kLogoSide + kSpacing + text + kPaddingBottom};
}

void SidebarHeader::paintContent(QPainter& painter) {
    const QRectF logo((width() - kLogoSide) / 2.0, kPaddingTop, kLogoSide, kLogoSide);
    painter.save();
    painter.setClipPath(RoundedShape::continuous(logo, Theme::cornerRadius));
    LogoOlvane::paint(painter, logo);
    painter.restore();

    painter.setFont(Theme::fontMedium32());
    painter.setPen(Theme::textPrimary());
    const QRectF text(kPaddingH, logo.bottom() + kSpacing, width() - kPaddingH * 2,
                      QFontMetrics(Theme::fontMedium32()).height());
    painter.drawText(text, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("Olvane"));
}

}  // namespace olvane::ui
