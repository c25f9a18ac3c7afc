#include "ui/configurateur/ConfiguratorBottomActions.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QShortcut>

#include "ui/configurateur/ConfigurateurViewModel.h"
#include "ui/configurateur/ConfiguratorButtons.h"
#include "ui/configurateur/ConfiguratorProgressBar.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr int kPadding = 16;

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

LabelButton::Style backStyle() {
    return {.font = Theme::fontRegular14(),
            .textColor = Theme::black(),
            .fill = Theme::white(),
            .outline = Theme::black(),
            .paddingH = 12,
            .paddingV = 8,
            .shadow = std::nullopt,
            .symbol = "chevron.left",
            .symbolSize = 12};
}

LabelButton::Style activateStyle() {
    auto style = ConfiguratorButtons::primary();
    style.paddingH = 24;
    return style;
}

}  // namespace

ConfiguratorBottomActions::ConfiguratorBottomActions(ConfigurateurViewModel& viewModel,
                                                     AppState& appState, QWidget& page,
                                                     QWidget* parent)
    : QWidget(parent),
      viewModel_(viewModel),
      appState_(appState),
      back_(ConfiguratorButtons::make(
          QStringLiteral("Précédent"), backStyle(), [this] { viewModel_.goBack(); }, this)),
      forward_(ConfiguratorButtons::make(
          QString(), ConfiguratorButtons::primary(), [this] { viewModel_.goNext(); }, this)),
      activate_(ConfiguratorButtons::make(
          QStringLiteral("Activer ma configuration"), activateStyle(),
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

LabelButton* ConfiguratorBottomActions::forwardButton() const {
    return forward_->isVisibleTo(this) ? forward_ : nullptr;
}

LabelButton* ConfiguratorBottomActions::activateButton() const {
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
    const QString label = fromView(BottomActionsRules::forwardLabel(selection));
    forward_->setText(label);
    forward_->setAccessibleName(label);
    forward_->setButtonStyle(selection ? ConfiguratorButtons::primary()
                                       : ConfiguratorButtons::secondary());

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
