#pragma once

#include <QFont>
#include <QString>
#include <QVariantAnimation>
#include <QWidget>

namespace olvane::ui {

// One centred line of black text that fades from the old text to the new one at each change.
class CrossFadeLabel final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kFadeMs = 150;

    CrossFadeLabel(const QString& text, const QFont& font, QWidget* parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString& text);

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
    QString previous_;
    // 0 shows the previous text, 1 the current one.
    qreal progress_ = 1;
    QVariantAnimation fade_;
};

}  // namespace olvane::ui
