// Build tool: the logo as the PNG files of the desktop's icon theme, `<folder>/<size>.png` for each
// size asked, drawn by the painter the window's icon uses.
#include <QImage>
#include <QPainter>
#include <QString>
#include <cstdio>

#include "ui/foundation/LogoOlvane.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage : %s <dossier> <taille>...\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const int side = QString::fromLatin1(argv[i]).toInt();
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            olvane::ui::LogoOlvane::paint(painter, QRectF(0, 0, side, side));
        }
        const QString file = folder + QStringLiteral("/%1.png").arg(side);
        if (side <= 0 || !image.save(file, "PNG")) {
            std::fprintf(stderr, "Impossible d’écrire %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
