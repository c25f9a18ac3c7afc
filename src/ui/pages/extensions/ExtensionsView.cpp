#include "ui/pages/extensions/ExtensionsView.h"

#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/PageFrame.h"
#include "ui/foundation/PageHeader.h"
#include "ui/foundation/Theme.h"
#include "ui/pages/extensions/BrowserExtensionList.h"

namespace olvane::ui {

ExtensionsView::ExtensionsView(AppState& appState, ExtensionsViewModel::Collaborators collaborators,
                               QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("extensions"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* page = new PageFrame(
        new PageHeader(QStringLiteral("Extensions"),
                       QStringLiteral("Connecte Olvane avec tes navigateurs internet")),
        this);
    outer->addWidget(page);
    auto* padded = new QVBoxLayout();
    padded->setContentsMargins(kListPaddingH, 0, kListPaddingH, 0);
    list_ = new BrowserExtensionList(appState, collaborators, page);
    padded->addWidget(list_);
    page->column()->addLayout(padded);
}

void ExtensionsView::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), Theme::windowBackground());
}

}  // namespace olvane::ui
