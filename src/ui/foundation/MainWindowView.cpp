#include "ui/foundation/MainWindowView.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollArea>
#include <QStackedLayout>

#include "ui/foundation/Separator.h"
#include "ui/foundation/SheetPresenter.h"
#include "ui/foundation/SidebarView.h"
#include "ui/foundation/SpacingDebugManager.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThinScrollBar.h"

namespace olvane::ui {
namespace {

// A thin grey handle without arrows, in keeping with the black and white pages.
void paintWhite(QWidget* widget) {
    widget->setAutoFillBackground(true);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, Theme::windowBackground());
    widget->setPalette(palette);
}

}  // namespace

MainWindowView::MainWindowView(AppState& appState, PageFactory& pages, QWidget* parent)
    : MainWindowView(appState, pages, SpacingDebugManager::shared(), parent) {}

MainWindowView::MainWindowView(AppState& appState, PageFactory& pages,
                               SpacingDebugManager& spacingDebug, QWidget* parent)
    : QWidget(parent), appState_(appState), pages_(pages) {
    setMinimumSize(kMinimumWidth, kMinimumHeight);
    stack_ = new QStackedLayout(this);
    showUninstallState();
    observations_.push_back(
        appState_.selectedNavigationItem.observe([this](NavigationItem item) { showPage(item); }));
    observations_.push_back(
        appState_.isUninstalling.observe([this](bool) { showUninstallState(); }));
    // The page starts anew in the new mode; the sidebar stays and is only repainted.
    observations_.push_back(spacingDebug.rebuildToken.observe([this](int) {
        showPage(appState_.selectedNavigationItem.get());
        if (sidebar_) {
            sidebar_->update();
        }
    }));
    prompt_ = std::make_unique<SheetPresenter>(*this, appState_.showWebExtensionPrompt,
                                               [this] { return buildPrompt(); });
}

MainWindowView::~MainWindowView() = default;

QWidget* MainWindowView::webExtensionPrompt() const {
    return prompt_ ? prompt_->sheet() : nullptr;
}

bool MainWindowView::isPageScrollable() const {
    return scroll_ != nullptr;
}

bool MainWindowView::isShowingUninstallProgress() const {
    return uninstall_ && stack_->currentWidget() == uninstall_.get();
}

void MainWindowView::openExtensionsFromPrompt() {
    appState_.showWebExtensionPrompt.set(false);
    appState_.selectedNavigationItem.set(NavigationItem::extensions);
}

// Building the waiting page changes what is shown, not what the view stands for.
QWidget* MainWindowView::currentPage() const {
    const_cast<MainWindowView*>(this)->buildContent();
    return page_;
}

SidebarView* MainWindowView::sidebar() const {
    const_cast<MainWindowView*>(this)->buildContent();
    return sidebar_;
}

// Polished as a part of the window's first show, before the window's layout is settled and
// anything painted: the sidebar and the page are there in the first frame, and no earlier.
bool MainWindowView::event(QEvent* event) {
    if (event->type() == QEvent::Polish) {
        buildContent();
    }
    return QWidget::event(event);
}

void MainWindowView::buildContent() {
    if (content_) {
        return;
    }
    content_ = new QWidget(this);
    auto* row = new QHBoxLayout(content_);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    sidebar_ = new SidebarView(appState_, SidebarView::orientationItems(),
                               SidebarView::protectionItems(), content_);
    row->addWidget(sidebar_);
    row->addWidget(new Separator(Qt::Vertical, Theme::black(), content_));
    detailHost_ = new QWidget(content_);
    paintWhite(detailHost_);
    detail_ = new QVBoxLayout(detailHost_);
    detail_->setContentsMargins(0, 0, 0, 0);
    row->addWidget(detailHost_, 1);
    stack_->addWidget(content_);
    buildPage(appState_.selectedNavigationItem.get());
    showUninstallState();
}

void MainWindowView::showPage(NavigationItem item) {
    if (content_) {
        buildPage(item);
    }
}

void MainWindowView::buildPage(NavigationItem item) {
    // The old page goes at once from the screen, and from memory as soon as control returns to
    // the loop: the click that changed the page may come from one of its own buttons.
    if (QWidget* old = scroll_ ? static_cast<QWidget*>(scroll_) : page_) {
        old->hide();
        detail_->removeWidget(old);
        old->deleteLater();
    }
    scroll_ = nullptr;
    page_ = pages_.createPage(item, windowWidth_).release();
    if (!page_) {
        page_ = new QWidget();
    }
    if (item == NavigationItem::accueil) {
        page_->setParent(detailHost_);
        detail_->addWidget(page_);
        page_->show();
        return;
    }
    // A short page sits at the top and the white background fills the rest, unless the page
    // asks to grow: then it takes the whole visible height.
    auto* column = new QWidget();
    paintWhite(column);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const bool fills = page_->sizePolicy().verticalPolicy() & QSizePolicy::ExpandFlag;
    layout->addWidget(page_, fills ? 1 : 0);
    if (!fills) {
        layout->addStretch(1);
    }
    scroll_ = new QScrollArea(detailHost_);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll_->setWidgetResizable(true);
    useThinScrollBar(*scroll_);
    scroll_->setWidget(column);
    paintWhite(scroll_->viewport());
    detail_->addWidget(scroll_);
    scroll_->show();
}

void MainWindowView::showUninstallState() {
    if (!appState_.isUninstalling.get()) {
        if (content_) {
            stack_->setCurrentWidget(content_);
        }
        return;
    }
    if (!uninstall_) {
        uninstall_ = pages_.createUninstallProgress();
        if (!uninstall_) {
            uninstall_ = std::make_unique<QWidget>();
        }
        paintWhite(uninstall_.get());
        stack_->addWidget(uninstall_.get());
    }
    // Nothing of the pages or the prompt stays reachable.
    appState_.showWebExtensionPrompt.set(false);
    stack_->setCurrentWidget(uninstall_.get());
}

// None while an uninstall runs: the presenter then leaves the flag down.
std::unique_ptr<QWidget> MainWindowView::buildPrompt() {
    if (appState_.isUninstalling.get()) {
        return nullptr;
    }
    return pages_.createWebExtensionPrompt([this] { openExtensionsFromPrompt(); },
                                           [this] { appState_.showWebExtensionPrompt.set(false); });
}

void MainWindowView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    windowWidth_.measure(event->size().width());
}

void MainWindowView::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), Theme::windowBackground());
}

}  // namespace olvane::ui
