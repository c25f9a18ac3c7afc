#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace olvane::ui {

// The title above a section card: semibold 14 in capitals whatever the given case, tracked 1.0,
// its lines centred; 16 points to its leading edge, 12 to its trailing one, 8 above, 6 below.
// As wide as its text: the caller places it.
QLabel* sectionHeaderLabel(const QString& text, QWidget* parent = nullptr);

}  // namespace olvane::ui
