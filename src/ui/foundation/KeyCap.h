#pragma once

#include <QString>
#include <QWidget>

namespace olvane::ui {

// One keyboard key in the description of a shortcut: its caption on one line in a white
// rounded box outlined in black.
class KeyCap final : public QWidget {
    Q_OBJECT

  public:
    explicit KeyCap(const QString& label, QWidget* parent = nullptr);

    QString label() const { return label_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString label_;
};

}  // namespace olvane::ui
