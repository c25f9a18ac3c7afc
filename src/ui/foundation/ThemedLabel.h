#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

namespace olvane::ui {

// A plain-text label in a theme font, black unless told otherwise.
QLabel* themedLabel(const QString& text, const QFont& font, QWidget* parent = nullptr);
// Gives a label (or any widget drawing text with the palette) its text colour.
void setTextColor(QWidget* widget, const QColor& color);

}  // namespace olvane::ui
