#include "ui/pages/extensions/DesktopUrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

namespace olvane::ui {

void DesktopUrlOpener::openUrl(const std::string& address) {
    const QUrl url(QString::fromStdString(address), QUrl::StrictMode);
    if (url.isValid() && !url.scheme().isEmpty()) {
        QDesktopServices::openUrl(url);
    }
}

}  // namespace olvane::ui
