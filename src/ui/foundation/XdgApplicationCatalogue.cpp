#include "ui/foundation/XdgApplicationCatalogue.h"

#include <QIcon>

namespace olvane::ui {
namespace {

QStringList existingFolders(const std::vector<std::filesystem::path>& candidates) {
    QStringList folders;
    for (const auto& folder : candidates) {
        std::error_code ec;
        const QString name = QString::fromStdString(folder.string());
        if (std::filesystem::is_directory(folder, ec) && !folders.contains(name)) {
            folders << name;
        }
    }
    return folders;
}

// Gives Qt the freedesktop icon folders where the platform gave none.
void useFreedesktopIconFolders(const platform::Paths& paths) {
    std::vector<std::filesystem::path> themes{paths.home() / ".icons", paths.dataHome() / "icons"};
    std::vector<std::filesystem::path> pixmaps;
    for (const auto& folder : paths.dataDirs()) {
        themes.push_back(folder / "icons");
        pixmaps.push_back(folder / "pixmaps");
    }
    QStringList searchPaths = QIcon::themeSearchPaths();
    for (const auto& folder : existingFolders(themes)) {
        if (!searchPaths.contains(folder)) {
            searchPaths << folder;
        }
    }
    QIcon::setThemeSearchPaths(searchPaths);
    if (QIcon::themeName().isEmpty()) {
        const QString fallback = QIcon::fallbackThemeName();
        QIcon::setThemeName(fallback.isEmpty() ? QStringLiteral("hicolor") : fallback);
    }
    if (QIcon::fallbackSearchPaths().isEmpty()) {
        QIcon::setFallbackSearchPaths(existingFolders(pixmaps));
    }
}

std::vector<std::filesystem::path> onDisk(const QStringList& folders) {
    std::vector<std::filesystem::path> paths;
    for (const auto& folder : folders) {
        if (!folder.startsWith(u':')) {  // Qt's resources hold no FIFO
            paths.emplace_back(folder.toStdString());
        }
    }
    return paths;
}

// The files Qt's lookups may read, once it knows the folders.
IconThemeFiles themeFilesOf(const platform::Paths& paths) {
    useFreedesktopIconFolders(paths);
    return {onDisk(QIcon::themeSearchPaths()), onDisk(QIcon::fallbackSearchPaths())};
}

}  // namespace

XdgApplicationCatalogue::XdgApplicationCatalogue(const platform::Paths& paths)
    : folders_(paths.applicationEntryFolders()), themeFiles_(themeFilesOf(paths)) {}

QImage XdgApplicationCatalogue::themeIcon(const std::string& name, int pixelSize) const {
    const QIcon icon = QIcon::fromTheme(QString::fromStdString(name));
    if (icon.isNull()) {
        return {};
    }
    return icon.pixmap(QSize(pixelSize, pixelSize)).toImage();
}

}  // namespace olvane::ui
