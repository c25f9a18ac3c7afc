#pragma once

#include <QMargins>
#include <QScrollArea>

class QVBoxLayout;

namespace olvane::ui {

// The scrolling answer of a question card: a column as tall as its rows while there is room,
// scrolling inside the card once the page is too short for it.
class AnswerScrollArea final : public QScrollArea {
    Q_OBJECT

  public:
    explicit AnswerScrollArea(QMargins padding, QWidget* parent = nullptr);

    QVBoxLayout* column() const { return column_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QVBoxLayout* column_;
};

}  // namespace olvane::ui
