#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

namespace olvane::ui {

// A text on one line that ends with "…" when its room is too short for it; it asks for the width
// of the whole text and can shrink to nothing.
class ElidedLabel final : public QWidget {
    Q_OBJECT

  public:
    ElidedLabel(const QString& text, const QFont& font, QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);
    // What is drawn at the current width.
    QString shownText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
};

}  // namespace olvane::ui
