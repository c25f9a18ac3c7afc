#pragma once

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QSize>
#include <cstdint>
#include <vector>

#include "friction/FogCells.h"
#include "friction/TrailPoint.h"

namespace olvane::ui {

// Draws the fog of one overlay: white at the fog's opacity over the whole window, out of which
// each trail point takes a soft round hole (destination-out, a radial gradient from the point's
// opacity at the centre, half of it midway, nothing at the radius), the holes deepening each
// other where they overlap.
//
// Drawn every frame over a whole window, that would cost far too much: the fog is worked out on
// a grid of cells (FogCells) and smoothly enlarged, and only the tiles whose cells changed are
// drawn again.
class FogRenderer {
  public:
    // Brings the picture up to date; returns what changed, in the window's own pixels.
    QRegion render(QSize size, qreal devicePixelRatio, double opacity, double radius,
                   const std::vector<TrailPoint>& trail);
    // The whole picture, premultiplied, at the window's device pixels.
    const QImage& image() const { return image_; }
    // Copies the picture's `region` (in the window's pixels) onto what `painter` paints.
    void paint(QPainter& painter, const QRegion& region) const;

  private:
    void reset(QSize deviceSize, qreal devicePixelRatio);
    void markChangedTiles(const FogCells::Box& box);
    void drawTile(int tileColumn, int tileRow);
    // The cell before a pixel (to its left, or above it) and the weight of the next one, 0 to
    // 256.
    struct CellWeight {
        int cell;
        int weight;
    };
    CellWeight cellAt(int pixel, int cells) const;
    QRegion takeDirtyRegion();

    FogCells cells_;
    QSize deviceSize_;
    qreal devicePixelRatio_ = 1;
    int cell_ = 0;
    int columns_ = 0;
    int rows_ = 0;
    int tileColumns_ = 0;
    int tileRows_ = 0;
    std::vector<std::uint8_t> dirtyTiles_;
    // Per column and per row of pixels.
    std::vector<CellWeight> columnAt_;
    std::vector<CellWeight> rowAt_;
    // The rows of cells of the tile being drawn, enlarged across it.
    std::vector<std::uint16_t> widened_;
    QImage image_;
};

}  // namespace olvane::ui
