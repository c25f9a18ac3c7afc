#include "ui/foundation/ThinScrollBar.h"

#include <QAbstractScrollArea>
#include <QScrollBar>

namespace olvane::ui {
namespace {

constexpr const char* kStyle =
    "QScrollBar:vertical { background: transparent; width: 10px; margin: 2px 0 2px 0; }"
    "QScrollBar::handle:vertical { background: rgba(0, 0, 0, 77); border-radius: 3px;"
    " min-height: 32px; margin: 0 2px 0 2px; }"
    "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
    "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }";

}  // namespace

void useThinScrollBar(QAbstractScrollArea& area) {
    area.verticalScrollBar()->setStyleSheet(QString::fromLatin1(kStyle));
}

}  // namespace olvane::ui
