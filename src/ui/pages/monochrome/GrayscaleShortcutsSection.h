#pragma once

#include <QWidget>
#include <array>

#include "platform/Handle.h"

namespace olvane::ui {

class SubtitleAlignedRow;
class WindowWidth;

// The third section of the Monochrome page: the two keyboard pauses and their keys, for
// reading only. The space before the keys follows the window's width.
class GrayscaleShortcutsSection final : public QWidget {
    Q_OBJECT

  public:
    // The least space between a shortcut's text and its keys, by window width.
    static constexpr int kWideGap = 96;
    static constexpr int kNarrowGap = 64;
    static constexpr double kWideWindow = 1000;

    explicit GrayscaleShortcutsSection(WindowWidth& windowWidth, QWidget* parent = nullptr);

    static int gapFor(double windowWidth);
    const std::array<SubtitleAlignedRow*, 2>& rows() const { return rows_; }

  private:
    std::array<SubtitleAlignedRow*, 2> rows_;
    platform::Handle observation_;
};

}  // namespace olvane::ui
