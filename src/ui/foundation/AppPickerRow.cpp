#include "ui/foundation/AppPickerRow.h"

#include <QFontMetricsF>
#include <QPainter>

#include "ui/foundation/HoverScale.h"
#include "ui/foundation/IconImage.h"
#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr qreal kCheckSize = 16;

}  // namespace

qreal AppPickerRow::hoverScale(QSizeF size) {
    HoverScale scale;
    scale.measure({size.width(), size.height()});
    scale.setHovered(true);
    return scale.factor();
}

void AppPickerRow::paint(QPainter& painter, const QRectF& rect, const QImage& greyIcon,
                         qreal scale) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPointF centre = rect.center();
    painter.translate(centre);
    painter.scale(scale, scale);
    painter.translate(-centre);

    const QRectF content = rect.adjusted(kHorizontalPadding, 0, -kHorizontalPadding, 0);
    QRectF iconFrame(content.left(), rect.center().y() - kIconSide / 2.0, kIconSide, kIconSide);
    if (!greyIcon.isNull()) {
        painter.drawImage(IconImage::fittedIn(greyIcon, iconFrame), greyIcon);
    }

    qreal trailing = content.right();
    if (isAlreadyAdded_) {
        const qreal side = SymbolPainter::boxSide(kCheckSize);
        const QRectF check(content.right() - side, rect.center().y() - side / 2, side, side);
        SymbolPainter::paint(painter, check, "checkmark", kCheckSize, Theme::black());
        trailing = check.left() - kSpacing;
    }
    const QRectF nameBox(iconFrame.right() + kSpacing, rect.top(),
                         std::max<qreal>(0, trailing - iconFrame.right() - kSpacing),
                         rect.height());
    painter.setFont(Theme::fontMedium14());
    painter.setPen(Theme::black());
    const QString name =
        QFontMetricsF(painter.font())
            .elidedText(QString::fromStdString(app_.name), Qt::ElideRight, nameBox.width());
    painter.drawText(nameBox, Qt::AlignLeft | Qt::AlignVCenter, name);
    painter.restore();
}

}  // namespace olvane::ui
