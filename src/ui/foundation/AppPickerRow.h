#pragma once

#include <QImage>
#include <QRectF>

#include "ui/foundation/InstalledApp.h"

class QPainter;

namespace olvane::ui {

// One application offered by the picker: its icon in grey, its name, and a check mark when the
// caller already has it (a row that stays selectable). The picker's list paints a row for each
// application in view.
class AppPickerRow {
  public:
    static constexpr int kHeight = 56;
    static constexpr int kIconSide = 40;
    static constexpr int kHorizontalPadding = 16;
    static constexpr int kSpacing = 12;

    AppPickerRow(const InstalledApp& app, bool isAlreadyAdded)
        : app_(app), isAlreadyAdded_(isAlreadyAdded) {}

    // Paints the row in `rect`, grown by `scale` about its centre; `greyIcon` is the app's icon
    // already in shades of grey.
    void paint(QPainter& painter, const QRectF& rect, const QImage& greyIcon, qreal scale) const;
    // The growth of a row of `size` under the pointer.
    static qreal hoverScale(QSizeF size);

  private:
    const InstalledApp& app_;
    bool isAlreadyAdded_;
};

}  // namespace olvane::ui
