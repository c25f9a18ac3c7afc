#pragma once

#include <QFont>
#include <QString>
#include <QWidget>

namespace olvane::ui {

// One line of black text whose digits all take one width, so that a number lines up with its
// neighbours and keeps its width as it changes.
class TabularLabel final : public QWidget {
    Q_OBJECT

  public:
    TabularLabel(const QString& text, QFont font, QWidget* parent = nullptr);

    const QString& text() const { return text_; }
    void setText(const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
    QFont font_;
};

}  // namespace olvane::ui
