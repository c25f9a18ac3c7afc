#include "ui/effects/FogRenderer.h"

#include <algorithm>
#include <cmath>

namespace olvane::ui {
namespace {

// Tiles of 8 × 8 cells are drawn again or left alone as a whole.
constexpr int kTileCells = 8;
// Lines of pixels copied at a time onto the window.
constexpr int kPaintBand = 16;
constexpr int kWeightOne = 256;

int clampIndex(int index, int count) {
    return std::clamp(index, 0, count - 1);
}

}  // namespace

void FogRenderer::reset(QSize deviceSize, qreal devicePixelRatio) {
    deviceSize_ = deviceSize;
    devicePixelRatio_ = devicePixelRatio;
    cell_ = cells_.cell();
    columns_ = cells_.columns();
    rows_ = cells_.rows();
    tileColumns_ = (columns_ + kTileCells - 1) / kTileCells;
    tileRows_ = (rows_ + kTileCells - 1) / kTileCells;
    dirtyTiles_.assign(static_cast<std::size_t>(tileColumns_ * tileRows_), 1);

    // Cell i is sampled at its centre, (i + 0.5) cells from the left (or the top).
    columnAt_.resize(static_cast<std::size_t>(deviceSize.width()));
    for (int x = 0; x < deviceSize.width(); ++x) {
        columnAt_[static_cast<std::size_t>(x)] = cellAt(x, columns_);
    }
    rowAt_.resize(static_cast<std::size_t>(deviceSize.height()));
    for (int y = 0; y < deviceSize.height(); ++y) {
        rowAt_[static_cast<std::size_t>(y)] = cellAt(y, rows_);
    }
    image_ = QImage(deviceSize, QImage::Format_ARGB32_Premultiplied);
    image_.setDevicePixelRatio(devicePixelRatio);
}

QRegion FogRenderer::render(QSize size, qreal devicePixelRatio, double opacity, double radius,
                            const std::vector<TrailPoint>& trail) {
    const QSize deviceSize = size * devicePixelRatio;
    if (deviceSize.isEmpty()) {
        return {};
    }
    const auto changed = cells_.update(deviceSize.width(), deviceSize.height(), opacity,
                                       radius * devicePixelRatio, trail, devicePixelRatio);
    if (deviceSize != deviceSize_ || devicePixelRatio != devicePixelRatio_ ||
        cells_.cell() != cell_ || cells_.columns() != columns_ || cells_.rows() != rows_) {
        reset(deviceSize, devicePixelRatio);
    }
    markChangedTiles(changed);
    for (int tileRow = 0; tileRow < tileRows_; ++tileRow) {
        for (int tileColumn = 0; tileColumn < tileColumns_; ++tileColumn) {
            if (dirtyTiles_[static_cast<std::size_t>(tileRow * tileColumns_ + tileColumn)]) {
                drawTile(tileColumn, tileRow);
            }
        }
    }
    return takeDirtyRegion();
}

// A cell's change shows in the pixels between it and its neighbours: their tiles are drawn too.
void FogRenderer::markChangedTiles(const FogCells::Box& box) {
    for (int row = box.top; row <= box.bottom; ++row) {
        for (int column = box.left; column <= box.right; ++column) {
            if (!cells_.changed(column, row)) {
                continue;
            }
            const int tileLeft = clampIndex(column - 1, columns_) / kTileCells;
            const int tileRight = clampIndex(column + 1, columns_) / kTileCells;
            const int tileTop = clampIndex(row - 1, rows_) / kTileCells;
            const int tileBottom = clampIndex(row + 1, rows_) / kTileCells;
            for (int ty = tileTop; ty <= tileBottom; ++ty) {
                for (int tx = tileLeft; tx <= tileRight; ++tx) {
                    dirtyTiles_[static_cast<std::size_t>(ty * tileColumns_ + tx)] = 1;
                }
            }
        }
    }
}

void FogRenderer::drawTile(int tileColumn, int tileRow) {
    const int pixelsPerTile = kTileCells * cell_;
    const int x0 = tileColumn * pixelsPerTile;
    const int x1 = std::min(deviceSize_.width(), x0 + pixelsPerTile);
    const int y0 = tileRow * pixelsPerTile;
    const int y1 = std::min(deviceSize_.height(), y0 + pixelsPerTile);
    const int firstColumn = columnAt_[static_cast<std::size_t>(x0)].cell;
    const int lastColumn =
        std::min(columns_ - 1, columnAt_[static_cast<std::size_t>(x1 - 1)].cell + 1);

    // A tile whose cells, and their neighbours, are all alike is one flat colour.
    const int firstRow = clampIndex(tileRow * kTileCells - 1, rows_);
    const int lastRow = clampIndex((tileRow + 1) * kTileCells, rows_);
    const std::uint8_t first = cells_.alpha(firstColumn, firstRow);
    bool flat = true;
    for (int row = firstRow; row <= lastRow && flat; ++row) {
        const auto* cells = cells_.alphas().data() + row * columns_;
        flat = std::all_of(cells + firstColumn, cells + lastColumn + 1,
                           [first](std::uint8_t alpha) { return alpha == first; });
    }
    if (flat) {
        const std::uint32_t pixel = first * 0x01010101u;
        for (int y = y0; y < y1; ++y) {
            auto* line = reinterpret_cast<std::uint32_t*>(image_.scanLine(y));
            std::fill(line + x0, line + x1, pixel);
        }
        return;
    }

    // Each row of cells enlarged across the tile once, then each line of pixels blended
    // between the two rows of cells around it.
    const int tileWidth = x1 - x0;
    const int firstCellRow = rowAt_[static_cast<std::size_t>(y0)].cell;
    const int lastCellRow = std::min(rows_ - 1, rowAt_[static_cast<std::size_t>(y1 - 1)].cell + 1);
    widened_.resize(static_cast<std::size_t>((lastCellRow - firstCellRow + 1) * tileWidth));
    for (int row = firstCellRow; row <= lastCellRow; ++row) {
        const auto* cells = cells_.alphas().data() + row * columns_;
        auto* out = widened_.data() + (row - firstCellRow) * tileWidth;
        for (int x = x0; x < x1; ++x) {
            const auto [cell, w] = columnAt_[static_cast<std::size_t>(x)];
            const int next = std::min(cell + 1, columns_ - 1);
            out[x - x0] =
                static_cast<std::uint16_t>(cells[cell] * (kWeightOne - w) + cells[next] * w);
        }
    }
    for (int y = y0; y < y1; ++y) {
        const CellWeight at = rowAt_[static_cast<std::size_t>(y)];
        const int next = std::min(at.cell + 1, rows_ - 1);
        const auto* above = widened_.data() + (at.cell - firstCellRow) * tileWidth;
        const auto* below = widened_.data() + (next - firstCellRow) * tileWidth;
        const std::uint32_t up = static_cast<std::uint32_t>(kWeightOne - at.weight);
        const std::uint32_t down = static_cast<std::uint32_t>(at.weight);
        auto* line = reinterpret_cast<std::uint32_t*>(image_.scanLine(y)) + x0;
        for (int x = 0; x < tileWidth; ++x) {
            const std::uint32_t value = (above[x] * up + below[x] * down + (1u << 15)) >> 16;
            line[x] = value * 0x01010101u;
        }
    }
}

FogRenderer::CellWeight FogRenderer::cellAt(int pixel, int cells) const {
    const double u = (pixel + 0.5) / cell_ - 0.5;
    const int cell = static_cast<int>(std::floor(u));
    if (cell < 0) {
        return {0, 0};
    }
    if (cell >= cells - 1) {
        return {cells - 1, 0};
    }
    return {cell, static_cast<int>(std::lround((u - cell) * kWeightOne))};
}

// In bands small enough that Qt copies each on this thread: a copy shared out to its thread
// pool costs more in waking threads than it saves.
void FogRenderer::paint(QPainter& painter, const QRegion& region) const {
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const qreal ratio = devicePixelRatio_;
    for (const QRect& rect : region) {
        for (int top = rect.top(); top <= rect.bottom(); top += kPaintBand) {
            const QRect band(rect.left(), top, rect.width(),
                             std::min(kPaintBand, rect.bottom() + 1 - top));
            const QRectF source(QPointF(band.topLeft()) * ratio, QSizeF(band.size()) * ratio);
            painter.drawImage(QRectF(band), image_, source);
        }
    }
}

QRegion FogRenderer::takeDirtyRegion() {
    QRegion region;
    const int pixelsPerTile = kTileCells * cell_;
    for (int tileRow = 0; tileRow < tileRows_; ++tileRow) {
        // Neighbouring dirty tiles of a row make one rectangle.
        int runStart = -1;
        for (int tileColumn = 0; tileColumn <= tileColumns_; ++tileColumn) {
            const bool dirty =
                tileColumn < tileColumns_ &&
                dirtyTiles_[static_cast<std::size_t>(tileRow * tileColumns_ + tileColumn)];
            if (dirty && runStart < 0) {
                runStart = tileColumn;
            } else if (!dirty && runStart >= 0) {
                const QRect device(runStart * pixelsPerTile, tileRow * pixelsPerTile,
                                   (tileColumn - runStart) * pixelsPerTile, pixelsPerTile);
                const QRectF logical(QRectF(device.intersected(QRect(QPoint(), deviceSize_))));
                region += QRectF(logical.topLeft() / devicePixelRatio_,
                                 logical.size() / devicePixelRatio_)
                              .toAlignedRect();
                runStart = -1;
            }
        }
    }
    std::fill(dirtyTiles_.begin(), dirtyTiles_.end(), std::uint8_t{0});
    return region;
}

}  // namespace olvane::ui
