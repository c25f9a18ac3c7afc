#pragma once

#include <QString>
#include <QWidget>

namespace olvane::ui {

// A fixed page spacing with a name: plain space while spacing debug is off; a ruler with
// "name = valuepx" while it is on. Vertical spacings are red, horizontal ones blue.
class DebugSpacingIndicator final : public QWidget {
    Q_OBJECT

  public:
    DebugSpacingIndicator(const QString& name, qreal value,
                          Qt::Orientation orientation = Qt::Vertical, QWidget* parent = nullptr);

    QString name() const { return name_; }
    qreal value() const { return value_; }
    // A spacing that follows a scale takes its new length here.
    void setValue(qreal value);
    Qt::Orientation orientation() const { return orientation_; }
    // The label drawn while the mode is on; empty when the spacing is too small for one.
    QString label() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void paintLabel(QPainter& painter, const QColor& color) const;

    QString name_;
    qreal value_;
    Qt::Orientation orientation_;
};

}  // namespace olvane::ui
