#include "ui/foundation/FontLibrary.h"

#include <QFontDatabase>
#include <utility>

#include "model/Logger.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

QString& loadedSymbolFamily() {
    static QString family;
    return family;
}

bool loadSymbolFont() {
    static bool tried = false;
    if (std::exchange(tried, true)) {
        return !loadedSymbolFamily().isEmpty();
    }
    const int id =
        QFontDatabase::addApplicationFont(QStringLiteral(":/olvane/fonts/materialdesignicons.ttf"));
    const auto families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList{};
    if (families.isEmpty()) {
        Logger::app().notice("Police de symboles indisponible : symboles dessinés");
        return false;
    }
    loadedSymbolFamily() = families.first();
    return true;
}

bool interInstalled() {
    if (QFontDatabase::families().contains(QString::fromLatin1(Theme::kFontFamily))) {
        return true;
    }
    Logger::app().notice("Police Inter absente (paquet fonts-inter) : police de remplacement");
    return false;
}

}  // namespace

bool FontLibrary::registerApplicationFonts() {
    const bool symbols = loadSymbolFont();
    const bool inter = interInstalled();
    return symbols && inter;
}

QString FontLibrary::symbolFamily() {
    loadSymbolFont();
    return loadedSymbolFamily();
}

}  // namespace olvane::ui
