#include "ui/configurateur/ConfigurateurExitConfirmationSheet.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/configurateur/ConfiguratorButtons.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"

namespace olvane::ui {
namespace {

constexpr int kPadding = 16;
constexpr int kSpacing = 32;
constexpr int kButtonHeight = 32;
constexpr int kButtonSpacing = 12;
constexpr int kLineSpacing = 4;

LabelButton::Style quitStyle() {
    return {.font = Theme::fontRegular14(),
            .textColor = Theme::black(),
            .fill = Theme::white(),
            .outline = Theme::black(),
            .paddingH = 0,
            .paddingV = 0,
            .shadow = std::nullopt,
            .outlineWidth = 1};
}

LabelButton::Style continueStyle() {
    auto style = quitStyle();
    style.textColor = Theme::white();
    style.fill = Theme::black();
    style.outline = std::nullopt;
    return style;
}

// The message, its lines 4 points further apart than the font's.
QLabel* message(const QString& text, QWidget* parent) {
    auto* label = themedLabel(QString(), Theme::fontRegular14(), parent);
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setText(QStringLiteral("<div style=\"-qt-line-height-type: line-distance; "
                                  "line-height: %1px;\">%2</div>")
                       .arg(kLineSpacing)
                       .arg(text.toHtmlEscaped()));
    return label;
}

LabelButton* rowButton(const QString& text, LabelButton::Style style, std::function<void()> action,
                       QWidget* parent) {
    auto* button = ConfiguratorButtons::make(text, std::move(style), std::move(action), parent);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    button->setMinimumWidth(0);
    button->setFixedHeight(kButtonHeight);
    return button;
}

}  // namespace

ConfigurateurExitConfirmationSheet::ConfigurateurExitConfirmationSheet(
    std::function<void()> onQuit, std::function<void()> onContinue, const QString& titleText,
    const QString& messageText, QWidget* parent)
    : QWidget(parent),
      title_(themedLabel(titleText, Theme::fontMedium14(), this)),
      messageText_(messageText),
      quit_(rowButton(QStringLiteral("Quitter"), quitStyle(), std::move(onQuit), this)),
      continue_(
          rowButton(QStringLiteral("Reprendre"), continueStyle(), std::move(onContinue), this)) {
    setAccessibleName(titleText);
    title_->setWordWrap(true);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    column->setSpacing(kSpacing);
    column->addWidget(title_);
    column->addWidget(message(messageText_, this));
    auto* buttons = new QHBoxLayout();
    buttons->setSpacing(kButtonSpacing);
    buttons->addWidget(quit_, 1);
    buttons->addWidget(continue_, 1);
    column->addLayout(buttons);
}

QString ConfigurateurExitConfirmationSheet::titleText() const {
    return title_->text();
}

QSize ConfigurateurExitConfirmationSheet::sizeHint() const {
    return {kWidth, layout()->heightForWidth(kWidth)};
}

void ConfigurateurExitConfirmationSheet::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(RoundedShape::continuous(rect(), kCornerRadius), Theme::white());
}

}  // namespace olvane::ui
