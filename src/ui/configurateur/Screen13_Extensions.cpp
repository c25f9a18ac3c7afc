#include "ui/configurateur/Screen13_Extensions.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/configurateur/ConfiguratorButtons.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/foundation/WrappingLabel.h"
#include "ui/pages/extensions/BrowserExtensionList.h"

namespace olvane::ui {
namespace {

constexpr int kPaddingH = 16;
constexpr qreal kTitleGap = 16;
constexpr qreal kBlockGap = 24;

LabelButton::Style finishStyle() {
    return {.font = Theme::fontRegular14(),
            .textColor = Theme::white(),
            .fill = Theme::black(),
            .outline = std::nullopt,
            .paddingH = 16,
            .paddingV = 10,
            .shadow = std::nullopt};
}

// `widget` with the screen's side margins.
QWidget* padded(QWidget* widget) {
    widget->setContentsMargins(kPaddingH, 0, kPaddingH, 0);
    return widget;
}

}  // namespace

Screen13_Extensions::Screen13_Extensions(AppState& appState,
                                         ExtensionsViewModel::Collaborators extensions,
                                         QWidget* parent)
    : QWidget(parent), appState_(appState) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(
        padded(themedLabel(QStringLiteral("Une dernière étape"), Theme::fontMedium32())));
    column->addWidget(new DebugSpacingIndicator(QStringLiteral("p4"), kTitleGap));
    auto* text = new WrappingLabel(
        QStringLiteral("Les fonctionnalités web que tu as activées nécessitent l'extension Olvane "
                       "dans ton navigateur."));
    text->setFont(Theme::fontRegular14());
    setTextColor(text, Theme::black());
    column->addWidget(padded(text));
    column->addWidget(new DebugSpacingIndicator(QStringLiteral("p6"), kBlockGap));
    list_ = new BrowserExtensionList(appState_, extensions);
    column->addWidget(padded(list_));
    column->addWidget(new DebugSpacingIndicator(QStringLiteral("p6"), kBlockGap));
    finish_ =
        ConfiguratorButtons::make(QStringLiteral("Terminer"), finishStyle(), [this] { finish(); });
    auto* button = new QWidget();
    auto* row = new QHBoxLayout(button);
    row->setContentsMargins(kPaddingH, 0, kPaddingH, 0);
    row->addWidget(finish_);
    row->addStretch(1);
    column->addWidget(button);
    column->addStretch(1);
}

void Screen13_Extensions::finish() {
    if (appState_.selectedNavigationItem() != NavigationItem::accueil) {
        appState_.selectedNavigationItem.set(NavigationItem::accueil);
    }
}

}  // namespace olvane::ui
