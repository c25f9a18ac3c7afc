#include "ui/UiTestSupport.h"

#include <QLayout>
#include <QPixmap>
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

bool saveArtefact(QWidget& widget, const QString& name) {
    widget.ensurePolished();
    if (auto* layout = widget.layout()) {
        layout->activate();
    }
    // Layouts that depend on the final width settle over a few passes of the loop.
    processEventsUntil([] { return false; }, 30);
    return saveArtefact(widget.grab(), name);
}

}  // namespace olvane::test
