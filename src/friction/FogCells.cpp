#include "friction/FogCells.h"

#include <algorithm>
#include <cmath>

namespace olvane {
namespace {

// A hole spans 24 cells across: fine enough that the enlarged fog looks like the exact one.
constexpr double kCellsPerRadius = 12;
// A point is placed to a quarter of a cell: its hole is one of 4 × 4 drawn in advance.
constexpr int kSubPositions = 4;

}  // namespace

void FogCells::Box::add(int column, int row) {
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

void FogCells::Box::add(const Box& other) {
    if (!other.empty()) {
        add(other.left, other.top);
        add(other.right, other.bottom);
    }
}

bool FogCells::needsReset(int width, int height, double opacity, double radius, int cell) const {
    return width != width_ || height != height_ || opacity != opacity_ || radius != radius_ ||
           cell != cell_;
}

void FogCells::reset(int width, int height, double opacity, double radius, int cell) {
    width_ = width;
    height_ = height;
    opacity_ = opacity;
    radius_ = radius;
    cell_ = cell;
    columns_ = std::max(1, (width + cell_ - 1) / cell_);
    rows_ = std::max(1, (height + cell_ - 1) / cell_);
    baseAlpha_ = static_cast<std::uint8_t>(std::lround(std::clamp(opacity, 0.0, 1.0) * 255));
    fogLeft_.assign(static_cast<std::size_t>(columns_ * rows_), 1.0f);
    alpha_.assign(fogLeft_.size(), baseAlpha_);
    changed_.assign(fogLeft_.size(), 1);
    touched_ = Box();
    makeHoleSprites();
}

FogCells::Box FogCells::update(int width, int height, double opacity, double radius,
                               const std::vector<TrailPoint>& trail, double pointScale,
                               int minimumCell) {
    Box changed;
    const int cell = std::max({1, minimumCell, static_cast<int>(radius / kCellsPerRadius)});
    if (needsReset(width, height, opacity, radius, cell)) {
        reset(width, height, opacity, radius, cell);
        changed = {0, 0, columns_ - 1, rows_ - 1};
    } else {
        std::fill(changed_.begin(), changed_.end(), std::uint8_t{0});
    }
    // The holes of the last update are filled in, then the current ones made.
    const Box previous = touched_;
    for (int row = previous.top; row <= previous.bottom; ++row) {
        std::fill_n(fogLeft_.begin() + row * columns_ + previous.left,
                    previous.right - previous.left + 1, 1.0f);
    }
    touched_ = Box();
    for (const auto& point : trail) {
        splat(point.position.x * pointScale, point.position.y * pointScale,
              std::min(point.opacity, 1.0));
    }
    Box redone = previous;
    redone.add(touched_);
    const float base = baseAlpha_;
    for (int row = redone.top; row <= redone.bottom; ++row) {
        for (int column = redone.left; column <= redone.right; ++column) {
            const auto index = static_cast<std::size_t>(row * columns_ + column);
            const auto alpha = static_cast<std::uint8_t>(std::lround(base * fogLeft_[index]));
            if (alpha != alpha_[index]) {
                alpha_[index] = alpha;
                changed_[index] = 1;
                changed.add(column, row);
            }
        }
    }
    return changed;
}

// Each cell whose centre lies within the radius keeps 1 − o·(1 − d/r) of its fog; the point is
// placed to a quarter of a cell.
void FogCells::splat(double x, double y, double opacity) {
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

// For each of the positions a point may have within its cell, the hole's depth (1 − d/r, at
// least 0) at the centres of the cells around.
void FogCells::makeHoleSprites() {
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

}  // namespace olvane
