#include "ui/shell/ExtensionWarningPanelController.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include "ui/foundation/PopupPlacement.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/WindowCompositing.h"
#include "ui/shell/EventMonitor.h"
#include "ui/shell/ExtensionWarningPlacement.h"
#include "ui/shell/ExtensionWarningView.h"

namespace olvane::ui {
namespace {

// A frameless, floating window above the others, shown without taking the focus; a click in it
// gives it the keyboard, so that Return and Escape reach its buttons.
QWidget* makePanel(ExtensionWarningView* content) {
    auto* panel = new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint |
                                           Qt::WindowStaysOnTopHint | Qt::NoDropShadowWindowHint);
    panel->setWindowTitle(QStringLiteral("Olvane"));
    // Without a compositing manager its transparent parts would be black.
    const bool composited = translucentWindowsAreComposited();
    panel->setAttribute(Qt::WA_TranslucentBackground, composited);
    content->setShadowed(composited);
    panel->setAttribute(Qt::WA_ShowWithoutActivating);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    content->setParent(panel);
    layout->addWidget(content);
    panel->setFocusProxy(content);
    return panel;
}

}  // namespace

ExtensionWarningPanelController::ExtensionWarningPanelController(
    StatusIconArea statusIcon, platform::PointerPresses* sessionPresses, Actions actions)
    : statusIcon_(std::move(statusIcon)),
      sessionPresses_(sessionPresses),
      actions_(std::move(actions)) {}

ExtensionWarningPanelController::~ExtensionWarningPanelController() {
    hide(false);
}

ExtensionWarningView* ExtensionWarningPanelController::content() const {
    return panel_ ? panel_->findChild<ExtensionWarningView*>() : nullptr;
}

void ExtensionWarningPanelController::show(BrowserType browser) {
    hide(false);
    QPointer<ExtensionWarningPanelController> self(this);
    auto* content = new ExtensionWarningView(
        browser,
        [self] {
            if (self) {
                self->actions_.onManage();
                self->hide(false);
            }
        },
        [self] {
            if (self) {
                self->hide(true);
            }
        });
    panel_ = makePanel(content);
    panel_->adjustSize();
    cutShapeToRoundedCard(*panel_, content->cardRect().translated(content->pos()),
                          Theme::cornerRadius);
    place();
    panel_->show();
    panel_->raise();

    outsideClickMonitor_ =
        std::make_unique<EventMonitor>(sessionPresses_, [self](QWindow* window, QPoint position) {
            if (self) {
                self->handleMouseDown(window, position);
            }
        });
    outsideClickMonitor_->start();
}

void ExtensionWarningPanelController::place() {
    const auto icon = statusIcon_();
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect frame = icon      ? PopupPlacement::screenArea(*icon)
                        : primary ? primary->availableGeometry()
                                  : QRect();
    panel_->move(ExtensionWarningPlacement::origin(icon, panel_->size(), frame));
}

void ExtensionWarningPanelController::handleMouseDown(QWindow* window, QPoint globalPosition) {
    if (!panel_) {
        return;
    }
    if (const auto icon = statusIcon_(); icon && icon->contains(globalPosition)) {
        return;  // the icon's own action handles it
    }
    if (window && window == panel_->windowHandle()) {
        return;
    }
    hide(true);
}

void ExtensionWarningPanelController::hide(bool notifyDismiss) {
    if (outsideClickMonitor_) {
        // The click that got here may still be in the monitor's hands.
        outsideClickMonitor_->stop();
        outsideClickMonitor_.release()->deleteLater();
    }
    if (panel_) {
        panel_->close();
        panel_ = nullptr;
    }
    if (notifyDismiss && actions_.onDismiss) {
        actions_.onDismiss();
    }
}

}  // namespace olvane::ui
