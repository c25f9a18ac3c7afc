#include "ui/foundation/OverlayLayer.h"

#include <QChildEvent>

namespace olvane::ui {

OverlayLayer::OverlayLayer(QWidget* host) : QWidget(host) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(host->rect());
    host->installEventFilter(this);
    raise();
    show();
}

bool OverlayLayer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget()) {
        switch (event->type()) {
            case QEvent::Resize:
                setGeometry(parentWidget()->rect());
                break;
            case QEvent::ChildAdded:
            case QEvent::ChildPolished:
                // A child added later would otherwise be drawn over the layer.
                if (static_cast<QChildEvent*>(event)->child() != this) {
                    raise();
                }
                break;
            default:
                break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace olvane::ui
