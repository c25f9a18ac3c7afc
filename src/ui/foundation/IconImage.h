#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <cstddef>
#include <filesystem>
#include <string_view>

namespace olvane::ui {

// The icons of applications and sites: images of a given size in points, held at twice as many
// pixels so that they stay sharp when a row draws them a little larger. QImage, so that they may
// be decoded on a worker and kept by plain view models.
class IconImage {
  public:
    static constexpr qreal kPixelRatio = 2.0;
    // Larger icon files are not read.
    static constexpr std::size_t kMaximumFileBytes = 4 * 1024 * 1024;

    // `image` scaled to fit a square of `points` points, keeping its proportions; null stays null.
    static QImage fitted(const QImage& image, int points);
    // The decoded file or bytes, fitted; null when they are not an image. Safe on any thread.
    // Only a regular file is read, at once or not at all (a FIFO is never waited on); yet a file
    // on a stalled mount can still hold its reader, so not on the main thread.
    static QImage fromFile(const std::filesystem::path& file, int points);
    static QImage fromData(const QByteArray& bytes, int points);
    // The same image in shades of grey, its transparency kept. Safe on any thread.
    static QImage desaturated(const QImage& image);
    // Where `image` goes when fitted into `frame`, proportions kept, centred.
    static QRectF fittedIn(const QImage& image, const QRectF& frame);
    // A symbol of the interface drawn in black on a transparent square. Main thread only.
    static QImage symbol(std::string_view name, int points);
};

}  // namespace olvane::ui
