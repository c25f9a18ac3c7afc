#include "ui/foundation/GrayIconView.h"

#include <QPainter>

#include "ui/foundation/IconImage.h"
#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {

GrayIconView::GrayIconView(int side, std::string placeholder, qreal placeholderSize,
                           QWidget* parent)
    : QWidget(parent), placeholder_(std::move(placeholder)), placeholderSize_(placeholderSize) {
    setFixedSize(side, side);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void GrayIconView::setImage(const std::optional<QImage>& image) {
    image_ = image ? IconImage::desaturated(*image) : QImage();
    if (image && !image->isNull()) {
        image_.setDevicePixelRatio(image->devicePixelRatio());
    }
    update();
}

void GrayIconView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (image_.isNull()) {
        SymbolPainter::paint(painter, rect(), placeholder_, placeholderSize_, Theme::black());
        return;
    }
    QSizeF drawn = image_.deviceIndependentSize();
    drawn.scale(size(), Qt::KeepAspectRatio);
    QRectF target(QPointF(), drawn);
    target.moveCenter(QRectF(rect()).center());
    painter.drawImage(target, image_);
}

}  // namespace olvane::ui
