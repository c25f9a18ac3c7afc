#pragma once

#include <QColor>
#include <QWidget>
#include <string>

namespace olvane::ui {

// One symbol of the interface, standing alone in a row: a square as tall as its point size.
class SymbolView final : public QWidget {
    Q_OBJECT

  public:
    SymbolView(std::string name, qreal size, QColor color = Qt::black, QWidget* parent = nullptr);

    const std::string& name() const { return name_; }
    const QColor& color() const { return color_; }
    void setSymbol(std::string name, QColor color);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::string name_;
    qreal size_;
    QColor color_;
};

}  // namespace olvane::ui
