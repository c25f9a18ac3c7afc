#pragma once

#include <cstdint>
#include <vector>

#include "friction/TrailPoint.h"

namespace olvane {

// The fog of one overlay worked out on a grid of cells a twelfth of the radius wide: each cell
// keeps the share of fog its centre has under the trail's holes (each point takes 1 − o·(1 − d/r)
// of it, the holes deepening each other), as the alpha of white at the fog's opacity. The holes
// are smooth, so the grid smoothly enlarged looks like the exact fog.
class FogCells {
  public:
    // Cells, inclusive; empty when right < left.
    struct Box {
        int left = 0, top = 0, right = -1, bottom = -1;
        bool empty() const { return right < left || bottom < top; }
        void add(int column, int row);
        void add(const Box& other);
    };

    // Brings the cells up to date for a window of `width` × `height` pixels, a hole `radius`
    // pixels wide and the trail's points in those pixels; returns the box of the cells whose
    // alpha may have changed (every cell after a change of size, radius, opacity or cell). Cells
    // are `minimumCell` pixels wide at least.
    Box update(int width, int height, double opacity, double radius,
               const std::vector<TrailPoint>& trail, double pointScale = 1, int minimumCell = 1);
    // Whether the last update changed the cell's alpha.
    bool changed(int column, int row) const {
        return changed_[static_cast<std::size_t>(row * columns_ + column)] != 0;
    }

    int cell() const { return cell_; }
    int columns() const { return columns_; }
    int rows() const { return rows_; }
    std::uint8_t baseAlpha() const { return baseAlpha_; }
    std::uint8_t alpha(int column, int row) const {
        return alpha_[static_cast<std::size_t>(row * columns_ + column)];
    }
    const std::vector<std::uint8_t>& alphas() const { return alpha_; }

  private:
    bool needsReset(int width, int height, double opacity, double radius, int cell) const;
    void reset(int width, int height, double opacity, double radius, int cell);
    void splat(double x, double y, double opacity);
    void makeHoleSprites();

    int width_ = -1;
    int height_ = -1;
    double opacity_ = -1;
    double radius_ = 0;
    int cell_ = 1;
    int columns_ = 0;
    int rows_ = 0;
    std::uint8_t baseAlpha_ = 0;
    // Per cell: the share of fog left (1: untouched), its alpha, whether the last update
    // changed it.
    std::vector<float> fogLeft_;
    std::vector<std::uint8_t> alpha_;
    std::vector<std::uint8_t> changed_;
    // The holes' depths around a point, for each of its places within its cell.
    std::vector<float> sprites_;
    int spriteReach_ = 0;
    // The cells the holes touched at the last update.
    Box touched_;
};

}  // namespace olvane
