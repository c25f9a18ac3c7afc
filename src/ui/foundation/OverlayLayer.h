#pragma once

#include <QWidget>

namespace olvane::ui {

// A drawing over a widget and all its children: a child that always covers its host, stays on
// top of the host's other children and lets every click and hover through. Subclasses paint.
class OverlayLayer : public QWidget {
    Q_OBJECT

  public:
    explicit OverlayLayer(QWidget* host);

    QWidget* host() const { return parentWidget(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace olvane::ui
