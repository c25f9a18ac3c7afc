#include "ui/UiTestSupport.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QEventLoop>
#include <QLayout>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace olvane::test {

std::filesystem::path artefactsFolder() {
    const std::filesystem::path folder = std::filesystem::path(OLVANE_BUILD_DIR) / "artefacts";
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    return folder;
}

bool saveArtefact(const QPixmap& pixmap, const QString& name) {
    const auto path = artefactsFolder() / (name.toStdString() + ".png");
    return pixmap.save(QString::fromStdString(path.string()), "PNG");
}

void paintWhite(QWidget& page) {
    page.setAutoFillBackground(true);
    QPalette palette = page.palette();
    palette.setColor(QPalette::Window, Qt::white);
    page.setPalette(palette);
}

void clickAt(QWidget* widget, QPoint pos) {
    const QPointF global = widget->mapToGlobal(QPointF(pos));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(pos), global, Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(pos), global, Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QCoreApplication::sendEvent(widget, &release);
}

void hover(QWidget* widget, bool inside) {
    if (inside) {
        const QPointF centre = QRectF(widget->rect()).center();
        QEnterEvent enter(centre, centre, widget->mapToGlobal(centre));
        QCoreApplication::sendEvent(widget, &enter);
    } else {
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(widget, &leave);
    }
}

void processEventsFor(int ms) {
    QEventLoop pause;
    QTimer::singleShot(ms, &pause, &QEventLoop::quit);
    pause.exec();
    // Outside exec() objects given to deleteLater() wait for this.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool saveArtefact(QWidget& widget, const QString& name) {
    widget.ensurePolished();
    if (auto* layout = widget.layout()) {
        layout->activate();
    }
    // Layouts that depend on the final width settle over a few passes of the loop.
    processEventsFor(30);
    return saveArtefact(widget.grab(), name);
}

}  // namespace olvane::test
