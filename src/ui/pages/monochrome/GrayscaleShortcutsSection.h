#pragma once

#include <QWidget>
#include <array>

#include "platform/Handle.h"

namespace olvane::platform {
class KeyboardLayout;
}

namespace olvane::ui {

class ShortcutKeysLine;
class SubtitleAlignedRow;
class WindowWidth;

// The third section of the Monochrome page: the two keyboard pauses and their keys, for
// reading only. The keys carry the captions the keyboard layout in use gives their positions,
// and follow its changes; the space before them follows the window's width.
class GrayscaleShortcutsSection final : public QWidget {
    Q_OBJECT

  public:
    // The least space between a shortcut's text and its keys, by window width.
    static constexpr int kWideGap = 96;
    static constexpr int kNarrowGap = 64;
    static constexpr double kWideWindow = 1000;

    GrayscaleShortcutsSection(WindowWidth& windowWidth, platform::KeyboardLayout& keyboard,
                              QWidget* parent = nullptr);

    static int gapFor(double windowWidth);
    const std::array<SubtitleAlignedRow*, 2>& rows() const { return rows_; }

  private:
    void showKeys();

    platform::KeyboardLayout& keyboard_;
    std::array<SubtitleAlignedRow*, 2> rows_;
    std::array<ShortcutKeysLine*, 2> keys_;
    platform::Handle observation_;
    platform::Handle layoutChanges_;
};

}  // namespace olvane::ui
