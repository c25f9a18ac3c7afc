#include "ui/foundation/IconImage.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <cmath>

#include "platform/FileIO.h"
#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

int pixelsFor(int points) {
    return static_cast<int>(std::lround(points * IconImage::kPixelRatio));
}

}  // namespace

QImage IconImage::fitted(const QImage& image, int points) {
    if (image.isNull()) {
        return {};
    }
    const int side = pixelsFor(points);
    QImage sized = image.size() == QSize(side, side)
                       ? image
                       : image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    sized.setDevicePixelRatio(kPixelRatio);
    return sized;
}

QImage IconImage::fromFile(const std::filesystem::path& file, int points) {
    const auto bytes = platform::readWholeFile(file, nullptr, kMaximumFileBytes);
    if (!bytes) {
        return {};
    }
    QByteArray data = QByteArray::fromStdString(*bytes);
    QBuffer buffer(&data);
    // The suffix first, as for a file read by name; the content decides when it is wrong.
    QImageReader reader(&buffer, QByteArray::fromStdString(file.extension().string()).mid(1));
    return fitted(reader.read(), points);
}

QImage IconImage::fromData(const QByteArray& bytes, int points) {
    return fitted(QImage::fromData(bytes), points);
}

QImage IconImage::desaturated(const QImage& image) {
    if (image.isNull()) {
        return {};
    }
    QImage grey = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(grey.scanLine(y));
        for (int x = 0; x < grey.width(); ++x) {
            const int level = qGray(row[x]);
            row[x] = qRgba(level, level, level, qAlpha(row[x]));
        }
    }
    return grey;
}

QRectF IconImage::fittedIn(const QImage& image, const QRectF& frame) {
    QSizeF drawn = image.deviceIndependentSize();
    drawn.scale(frame.size(), Qt::KeepAspectRatio);
    QRectF target(QPointF(), drawn);
    target.moveCenter(frame.center());
    return target;
}

QImage IconImage::symbol(std::string_view name, int points) {
    const int side = pixelsFor(points);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(kPixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    SymbolPainter::paint(painter, QRectF(0, 0, points, points), name, points, Theme::black());
    return image;
}

}  // namespace olvane::ui
