#include "ui/configurateur/ConfiguratorBottomActions.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QShortcut>

#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/configurateur/ConfiguratorButton.h"
#include "ui/configurateur/ConfiguratorProgressBar.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr int kPadding = 16;

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

ConfiguratorButton::Look backLook() {
    return {Theme::fontRegular14(),
            Theme::black(),
            Theme::white(),
            Theme::black(),
            Theme::outlineWidth,
            8,
            12,
            8,
            "chevron.left",
            12};
}

ConfiguratorButton::Look activateLook() {
    auto look = ConfiguratorButton::primary();
    look.paddingH = 24;
    return look;
}

}  // namespace

ConfiguratorBottomActions::ConfiguratorBottomActions(ConfigurateurViewModel& viewModel,
                                                     AppState& appState, QWidget& page,
                                                     QWidget* parent)
    : QWidget(parent),
      viewModel_(viewModel),
      appState_(appState),
      back_(new ConfiguratorButton(
          QStringLiteral("Précédent"), backLook(), [this] { viewModel_.goBack(); }, this)),
      forward_(new ConfiguratorButton(
          QString(), ConfiguratorButton::primary(), [this] { viewModel_.goNext(); }, this)),
      activate_(new ConfiguratorButton(
          QStringLiteral("Activer ma configuration"), activateLook(),
          [this] { viewModel_.activateConfiguration(); }, this)),
      progress_(new ConfiguratorProgressBar(viewModel.currentScreenIndex(), kIndicatorSide,
                                            kCurrentDotSide, this)) {
    // The progress lies under the buttons, centred in the whole width.
    auto* layers = new QGridLayout(this);
    layers->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    layers->setSpacing(0);
    layers->addWidget(progress_, 0, 0, Qt::AlignCenter);
    auto* buttons = new QHBoxLayout();
    buttons->setSpacing(0);
    buttons->addWidget(back_, 0, Qt::AlignVCenter);
    buttons->addStretch(1);
    buttons->addWidget(forward_, 0, Qt::AlignVCenter);
    buttons->addWidget(activate_, 0, Qt::AlignVCenter);
    layers->addLayout(buttons, 0, 0);
    back_->raise();
    forward_->raise();
    activate_->raise();

    left_ = shortcut(page, {Qt::Key_Left}, [this] { viewModel_.goBack(); });
    right_ = shortcut(page, {Qt::Key_Right}, [this] { viewModel_.goNext(); });
    return_ = shortcut(page, {Qt::Key_Return, Qt::Key_Enter},
                       [this] { viewModel_.activateConfiguration(); });
    escape_ = shortcut(page, {Qt::Key_Escape}, [this] { laterAction(); });

    for (auto* observable :
         {&viewModel_.grayscaleAllowedAppsDraft, &viewModel_.grayscaleAllowedSitesDraft}) {
        observations_.push_back(observable->observe([this](const auto&) { refresh(); }));
    }
    observations_.push_back(viewModel_.redListTargetsDraft.observe([this](auto) { refresh(); }));
    observations_.push_back(viewModel_.currentScreenIndex.observe([this](int) { refresh(); }));
    refresh();
}

ConfiguratorBottomActions::~ConfiguratorBottomActions() {
    // The shortcuts belong to the page, which may outlive the bar.
    for (QShortcut* shortcut : {left_.data(), right_.data(), return_.data(), escape_.data()}) {
        delete shortcut;
    }
}

bool ConfiguratorBottomActions::hasSelection() const {
    return BottomActionsRules::hasSelection(viewModel_);
}

void ConfiguratorBottomActions::laterAction() {
    if (viewModel_.hasChanges()) {
        viewModel_.pendingExitTarget.set(NavigationItem::accueil);
        return;
    }
    appState_.selectedNavigationItem.set(NavigationItem::accueil);
}

ConfiguratorButton* ConfiguratorBottomActions::forwardButton() const {
    return forward_->isVisibleTo(this) ? forward_ : nullptr;
}

ConfiguratorButton* ConfiguratorBottomActions::activateButton() const {
    return activate_->isVisibleTo(this) ? activate_ : nullptr;
}

BottomActionsRules::Shortcuts ConfiguratorBottomActions::enabledShortcuts() const {
    return {left_->isEnabled(), right_->isEnabled(), return_->isEnabled(), escape_->isEnabled()};
}

void ConfiguratorBottomActions::refresh() {
    const int screen = viewModel_.currentScreenIndex();
    layout_ = BottomActionsRules::layout(screen);
    const bool recap = layout_ == BottomActionsRules::Layout::recap;
    progress_->setCurrentScreenIndex(screen);
    progress_->setVisible(layout_ == BottomActionsRules::Layout::progress);
    activate_->setVisible(recap);
    forward_->setVisible(BottomActionsRules::showsForward(screen));
    const bool selection = hasSelection();
    forward_->setText(fromView(BottomActionsRules::forwardLabel(selection)));
    forward_->setLook(selection ? ConfiguratorButton::primary() : ConfiguratorButton::secondary());

    const auto keys = BottomActionsRules::shortcuts(screen);
    left_->setEnabled(keys.left);
    right_->setEnabled(keys.right);
    return_->setEnabled(keys.returnKey);
    escape_->setEnabled(keys.escape);
    update();
}

QShortcut* ConfiguratorBottomActions::shortcut(QWidget& page, const QList<QKeySequence>& keys,
                                               std::function<void()> action) {
    // In the window's context: the keys work wherever the focus is in the window, and not
    // while a sheet, a window of its own, is in front.
    auto* shortcut = new QShortcut(&page);
    shortcut->setKeys(keys);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, std::move(action));
    return shortcut;
}

void ConfiguratorBottomActions::paintEvent(QPaintEvent*) {
    if (layout_ == BottomActionsRules::Layout::recap) {
        QPainter(this).fillRect(rect(), Theme::white());
    }
}

}  // namespace olvane::ui
