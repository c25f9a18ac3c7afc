#include "ui/effects/FogRenderer.h"

#include <algorithm>
#include <cmath>

namespace olvane::ui {
namespace {

// A hole spans 24 cells across: fine enough that the enlarged fog looks like the exact one.
constexpr double kCellsPerRadius = 12;
// Tiles of 8 × 8 cells are drawn again or left alone as a whole.
constexpr int kTileCells = 8;
// Lines of pixels copied at a time onto the window.
constexpr int kPaintBand = 16;
// A point is placed to a quarter of a cell: its hole is one of 4 × 4 drawn in advance.
constexpr int kSubPositions = 4;
constexpr int kWeightOne = 256;

int clampIndex(int index, int count) {
    return std::clamp(index, 0, count - 1);
}

}  // namespace

void FogRenderer::CellBox::add(int column, int row) {
    if (empty()) {
        left = right = column;
        top = bottom = row;
        return;
    }
    left = std::min(left, column);
    right = std::max(right, column);
    top = std::min(top, row);
    bottom = std::max(bottom, row);
}

void FogRenderer::CellBox::add(const CellBox& other) {
    if (!other.empty()) {
        add(other.left, other.top);
        add(other.right, other.bottom);
    }
}

bool FogRenderer::needsReset(QSize deviceSize, qreal devicePixelRatio, double opacity,
                             double deviceRadius) const {
    return deviceSize != deviceSize_ || devicePixelRatio != devicePixelRatio_ ||
           opacity != opacity_ || deviceRadius != radius_;
}

void FogRenderer::reset(QSize deviceSize, qreal devicePixelRatio, double opacity,
                        double deviceRadius) {
    deviceSize_ = deviceSize;
    devicePixelRatio_ = devicePixelRatio;
    opacity_ = opacity;
    radius_ = deviceRadius;
    cell_ = std::max(1, static_cast<int>(deviceRadius / kCellsPerRadius));
    columns_ = std::max(1, (deviceSize.width() + cell_ - 1) / cell_);
    rows_ = std::max(1, (deviceSize.height() + cell_ - 1) / cell_);
    tileColumns_ = (columns_ + kTileCells - 1) / kTileCells;
    tileRows_ = (rows_ + kTileCells - 1) / kTileCells;
    baseAlpha_ = static_cast<std::uint8_t>(std::lround(std::clamp(opacity, 0.0, 1.0) * 255));
    fogLeft_.assign(static_cast<std::size_t>(columns_ * rows_), 1.0f);
    alpha_.assign(fogLeft_.size(), baseAlpha_);
    dirtyTiles_.assign(static_cast<std::size_t>(tileColumns_ * tileRows_), 1);
    touched_ = CellBox();

    // Cell i is sampled at its centre, (i + 0.5) cells from the left (or the top).
    columnAt_.resize(static_cast<std::size_t>(deviceSize.width()));
    for (int x = 0; x < deviceSize.width(); ++x) {
        columnAt_[static_cast<std::size_t>(x)] = cellAt(x, columns_);
    }
    rowAt_.resize(static_cast<std::size_t>(deviceSize.height()));
    for (int y = 0; y < deviceSize.height(); ++y) {
        rowAt_[static_cast<std::size_t>(y)] = cellAt(y, rows_);
    }
    makeHoleSprites();
    image_ = QImage(deviceSize, QImage::Format_ARGB32_Premultiplied);
    image_.setDevicePixelRatio(devicePixelRatio);
}

QRegion FogRenderer::render(QSize size, qreal devicePixelRatio, double opacity, double radius,
                            const std::vector<TrailPoint>& trail) {
    const QSize deviceSize = size * devicePixelRatio;
    const double deviceRadius = radius * devicePixelRatio;
    if (deviceSize.isEmpty()) {
        return {};
    }
    if (needsReset(deviceSize, devicePixelRatio, opacity, deviceRadius)) {
        reset(deviceSize, devicePixelRatio, opacity, deviceRadius);
    }
    // The holes of the last frame are filled in, then the current ones made.
    const CellBox previous = touched_;
    for (int row = previous.top; row <= previous.bottom; ++row) {
        std::fill_n(fogLeft_.begin() + row * columns_ + previous.left,
                    previous.right - previous.left + 1, 1.0f);
    }
    touched_ = CellBox();
    for (const auto& point : trail) {
        splat(point.position.x * devicePixelRatio, point.position.y * devicePixelRatio,
              std::min(point.opacity, 1.0));
    }
    CellBox changed = previous;
    changed.add(touched_);
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

// Each cell whose centre lies within the radius keeps 1 − o·(1 − d/r) of its fog; the point is
// placed to a quarter of a cell.
void FogRenderer::splat(double x, double y, double opacity) {
    if (opacity <= 0) {
        return;
    }
    const double u = x / cell_;
    const double v = y / cell_;
    const int column = static_cast<int>(std::floor(u));
    const int row = static_cast<int>(std::floor(v));
    const int sx = std::clamp(static_cast<int>((u - column) * kSubPositions), 0, kSubPositions - 1);
    const int sy = std::clamp(static_cast<int>((v - row) * kSubPositions), 0, kSubPositions - 1);
    const int first = std::max(0, column - spriteReach_);
    const int last = std::min(columns_ - 1, column + spriteReach_);
    const int top = std::max(0, row - spriteReach_);
    const int bottom = std::min(rows_ - 1, row + spriteReach_);
    if (first > last || top > bottom) {
        return;
    }
    const int side = 2 * spriteReach_ + 1;
    const float* sprite = sprites_.data() + (sy * kSubPositions + sx) * side * side;
    const float o = static_cast<float>(opacity);
    const int count = last - first + 1;
    for (int r = top; r <= bottom; ++r) {
        float* cells = fogLeft_.data() + r * columns_ + first;
        const float* depth =
            sprite + (r - row + spriteReach_) * side + (first - column + spriteReach_);
        for (int i = 0; i < count; ++i) {
            cells[i] *= 1.0f - o * depth[i];
        }
    }
    touched_.add(first, top);
    touched_.add(last, bottom);
}

// A cell's change shows in the pixels between it and its neighbours: their tiles are drawn too.
void FogRenderer::markChangedTiles(const CellBox& box) {
    if (box.empty()) {
        return;
    }
    const float base = baseAlpha_;
    for (int row = box.top; row <= box.bottom; ++row) {
        for (int column = box.left; column <= box.right; ++column) {
            const auto index = static_cast<std::size_t>(row * columns_ + column);
            const auto alpha = static_cast<std::uint8_t>(std::lround(base * fogLeft_[index]));
            if (alpha == alpha_[index]) {
                continue;
            }
            alpha_[index] = alpha;
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
    const std::uint8_t first = alpha_[static_cast<std::size_t>(firstRow * columns_ + firstColumn)];
    bool flat = true;
    for (int row = firstRow; row <= lastRow && flat; ++row) {
        const auto* cells = alpha_.data() + row * columns_;
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
        const auto* cells = alpha_.data() + row * columns_;
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

// For each of the positions a point may have within its cell, the hole's depth (1 − d/r, at
// least 0) at the centres of the cells around.
void FogRenderer::makeHoleSprites() {
    spriteReach_ = static_cast<int>(std::ceil(radius_ / cell_)) + 1;
    const int side = 2 * spriteReach_ + 1;
    sprites_.assign(static_cast<std::size_t>(kSubPositions * kSubPositions * side * side), 0.0f);
    for (int sy = 0; sy < kSubPositions; ++sy) {
        for (int sx = 0; sx < kSubPositions; ++sx) {
            float* sprite = sprites_.data() + (sy * kSubPositions + sx) * side * side;
            const double fx = (sx + 0.5) / kSubPositions;
            const double fy = (sy + 0.5) / kSubPositions;
            for (int dy = -spriteReach_; dy <= spriteReach_; ++dy) {
                for (int dx = -spriteReach_; dx <= spriteReach_; ++dx) {
                    const double distance =
                        std::hypot((dx + 0.5 - fx) * cell_, (dy + 0.5 - fy) * cell_);
                    sprite[(dy + spriteReach_) * side + dx + spriteReach_] =
                        static_cast<float>(std::max(0.0, 1 - distance / radius_));
                }
            }
        }
    }
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
