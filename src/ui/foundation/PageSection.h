#pragma once

#include <QString>

#include "ui/foundation/DebugSpacingIndicator.h"

class QVBoxLayout;
class QWidget;

namespace olvane::ui {

// The pieces every section of a page repeats: its title over a 16-point gap, its blocks set 16
// points in from both sides, and the named gaps between them.
class PageSection {
  public:
    static constexpr int kInset = 16;
    static constexpr int kGap = 16;

    // Gives `section` a column, leading-aligned and without spacing, that starts with the
    // section's title and the "p4" gap; the section adds its blocks to it.
    static QVBoxLayout* column(QWidget* section, const QString& title);
    // `content` in a block of its own, `kInset` in from both sides.
    static QWidget* padded(QWidget* content, QWidget* parent);
    // The "p4" gap of 16 points.
    static DebugSpacingIndicator* gap();
};

}  // namespace olvane::ui
