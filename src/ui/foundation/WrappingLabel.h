#pragma once

#include <QLabel>

namespace olvane::ui {

// A plain-text label that asks for the width of its text on one line and wraps only when it
// gets less; a wrapping QLabel would otherwise guess a width of its own and break a short text.
class WrappingLabel final : public QLabel {
    Q_OBJECT

  public:
    explicit WrappingLabel(const QString& text, QWidget* parent = nullptr);

    QSize sizeHint() const override;
};

}  // namespace olvane::ui
