#include "ui/shell/MenuBarStatusView.h"

#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/ExtensionStatusSection.h"
#include "ui/foundation/Separator.h"
#include "ui/foundation/TextRowButton.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr int kPadding = 16;
constexpr int kDividerPadding = 8;
constexpr int kBottomPadding = 12;

void addDivider(QVBoxLayout* column, QWidget* parent) {
    column->addSpacing(kDividerPadding);
    column->addWidget(Separator::divider(parent));
    column->addSpacing(kDividerPadding);
}

}  // namespace

MenuBarStatusView::MenuBarStatusView(AppState& appState, std::function<void()> onOpenMainWindow,
                                     std::function<void()> onQuit, QWidget* parent)
    : QWidget(parent) {
    setFixedWidth(kWidth);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding, kPadding, kPadding, kBottomPadding);
    column->setSpacing(0);

    openRow_ = new TextRowButton(QStringLiteral("Ouvrir Olvane"), this);
    connect(openRow_, &QAbstractButton::clicked, this, [onOpenMainWindow] { onOpenMainWindow(); });
    column->addWidget(openRow_);
    addDivider(column, this);

    // Managing the extensions goes to their page directly: the popover does not ask the guard.
    extensionStatus_ = new ExtensionStatusSection(
        appState,
        [&appState, onOpenMainWindow] {
            appState.selectedNavigationItem.set(NavigationItem::extensions);
            onOpenMainWindow();
        },
        this);
    column->addWidget(extensionStatus_);
    addDivider(column, this);

    quitRow_ = new TextRowButton(QStringLiteral("Quitter"), this);
    connect(quitRow_, &QAbstractButton::clicked, this, [onQuit = std::move(onQuit)] { onQuit(); });
    column->addWidget(quitRow_);
}

void MenuBarStatusView::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), Theme::popoverBackground());
}

}  // namespace olvane::ui
