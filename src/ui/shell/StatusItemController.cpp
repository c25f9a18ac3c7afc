#include "ui/shell/StatusItemController.h"

#include <QCursor>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QSystemTrayIcon>
#include <utility>

#include "browser/ExtensionAccompanimentCoordinator.h"
#include "model/Logger.h"
#include "ui/foundation/LogoOlvane.h"
#include "ui/shell/EventMonitor.h"
#include "ui/shell/ExtensionWarningPanelController.h"
#include "ui/shell/MenuBarStatusView.h"
#include "ui/shell/MenuPopover.h"

namespace olvane::ui {

StatusItemController::StatusItemController(AppState& appState, platform::SystemTray& tray,
                                           Actions actions)
    : appState_(appState), tray_(tray), actions_(std::move(actions)) {}

StatusItemController::~StatusItemController() = default;

void StatusItemController::attachExtensionPrompts(ExtensionAccompanimentCoordinator& coordinator,
                                                  platform::PointerPresses* sessionPresses) {
    coordinator_ = &coordinator;
    sessionPresses_ = sessionPresses;
}

void StatusItemController::setupMenuBar() {
    if (std::exchange(setUp_, true)) {
        return;
    }
    setupExtensionWarning();
    // Qt settles on the StatusNotifier tray or X11's the first time it is asked, for the whole
    // run: it is asked once one is there.
    if (tray_.isPresent()) {
        createStatusItem();
        Logger::app().debug("Barre de menus configurée (popover)");
        return;
    }
    Logger::app().logError("Impossible de créer le status item");
    Logger::app().notice("Aucune zone de notification : l’icône viendra avec elle");
    trayArrival_ = tray_.observeArrivals([this] {
        if (!statusItem_) {
            createStatusItem();
            Logger::app().notice("Zone de notification apparue : icône de la barre de menus créée");
        }
    });
}

void StatusItemController::createStatusItem() {
    statusItem_ = std::make_unique<QSystemTrayIcon>();
    statusItem_->setToolTip(QStringLiteral("Olvane"));
    updateStatusItemIcon();

    content_ = new MenuBarStatusView(
        appState_, [this] { closePopoverThen(actions_.showMainWindow); },
        [this] { closePopoverThen(actions_.quit); });
    popover_ = std::make_unique<MenuPopover>(content_);
    popoverEventMonitor_ = std::make_unique<EventMonitor>(
        sessionPresses_,
        [this](QWindow* window, QPoint position) { handlePopoverMouseDown(window, position); });
    connect(popover_.get(), &MenuPopover::closed, this, [this] { popoverEventMonitor_->stop(); });

    connect(statusItem_.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger) {
                    toggleMenuPopover();
                }
            });
    statusItem_->show();
}

void StatusItemController::setupExtensionWarning() {
    if (!coordinator_) {
        return;
    }
    auto* coordinator = coordinator_;
    extensionWarning_ = std::make_unique<ExtensionWarningPanelController>(
        [this] { return statusIconArea(); }, sessionPresses_,
        ExtensionWarningPanelController::Actions{.onManage =
                                                     [this, coordinator] {
                                                         actions_.showMainWindow();
                                                         appState_.selectedNavigationItem.set(
                                                             NavigationItem::extensions);
                                                         coordinator->resetPendingWarnings();
                                                     },
                                                 .onDismiss =
                                                     [coordinator] {
                                                         coordinator->isWarningPanelShown = false;
                                                         coordinator->browserLaunched();
                                                     }});
    coordinator->presentWarning = [panel = QPointer(extensionWarning_.get())](BrowserType b) {
        if (panel) {
            panel->show(b);
        }
    };
}

std::optional<QRect> StatusItemController::statusIconArea() const {
    const QRect area = statusItem_ ? statusItem_->geometry() : QRect();
    if (!area.isValid() || area.isEmpty()) {
        return std::nullopt;
    }
    return area;
}

void StatusItemController::hideExtensionWarning() {
    if (extensionWarning_) {
        extensionWarning_->hide(false);
    }
}

void StatusItemController::updateStatusItemIcon() {
    if (!statusItem_) {
        return;
    }
    // The application's icon, drawn here rather than taken from the application, whose icon is
    // only set once the first frame is out.
    QPixmap image(16, 16);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(QRect(0, 0, 16, 16), LogoOlvane::pixmap(64));
    }
    statusItem_->setIcon(QIcon(image));
}

bool StatusItemController::isPopoverShown() const {
    return popover_ && popover_->isVisible();
}

void StatusItemController::toggleMenuPopover() {
    if (!popover_ || !statusItem_) {
        return;
    }
    hideExtensionWarning();
    if (coordinator_) {
        coordinator_->resetPendingWarnings();
    }
    if (isPopoverShown()) {
        popover_->close();
        return;
    }
    // Some trays do not tell where the icon is: the click that opened the popover does.
    popover_->showUnder(statusIconArea().value_or(QRect(QCursor::pos(), QSize(1, 1))));
    popoverEventMonitor_->start();
}

void StatusItemController::handlePopoverMouseDown(QWindow* window, QPoint globalPosition) {
    if (!isPopoverShown()) {
        return;
    }
    if (const auto icon = statusIconArea(); icon && icon->contains(globalPosition)) {
        return;
    }
    if (window && window == popover_->windowHandle()) {
        return;
    }
    popover_->close();
}

void StatusItemController::closePopoverThen(const std::function<void()>& action) {
    if (popover_) {
        popover_->close();
    }
    if (action) {
        action();
    }
}

}  // namespace olvane::ui
