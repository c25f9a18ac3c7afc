#include "ui/pages/extensions/WebExtensionPromptSheet.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/ActionButton.h"
#include "ui/foundation/HoverableIconButton.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"

namespace olvane::ui {
namespace {

constexpr int kTitleGap = 12;
constexpr int kHeaderBottom = 16;
constexpr int kMessageBottom = 20;
constexpr int kButtonSpacing = 12;
constexpr int kButtonPaddingH = 16;
constexpr qreal kCloseSize = 14;

// As wide as its text and its padding, at the trailing edge of the row.
ActionButton* button(const QString& text, ActionButton::Style style, QWidget* parent) {
    auto* made = new ActionButton(text, style, Theme::outlineWidth, parent);
    const QFontMetrics metrics(made->font());
    made->setFixedSize(metrics.horizontalAdvance(text) + 2 * kButtonPaddingH + 1,
                       made->sizeHint().height());
    return made;
}

QLabel* wrappedLabel(const QString& text, const QFont& font, QWidget* parent) {
    auto* label = themedLabel(text, font, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
    return label;
}

}  // namespace

WebExtensionPromptSheet::WebExtensionPromptSheet(std::function<void()> close,
                                                 std::function<void()> onOpenExtensions,
                                                 QWidget* parent)
    : QWidget(parent), dismiss_(std::move(close)), openExtensions_(std::move(onOpenExtensions)) {
    setObjectName(QStringLiteral("webExtensionPrompt"));
    setAccessibleName(QStringLiteral("Cette fonctionnalité nécessite l'extension Olvane"));
    setFocusPolicy(Qt::StrongFocus);
    setFixedWidth(kWidth);

    QFont titleFont = Theme::fontSemibold14();
    titleFont.setCapitalization(QFont::AllUppercase);
    titleFont.setLetterSpacing(QFont::AbsoluteSpacing, 1.0);
    title_ = wrappedLabel(QStringLiteral("Cette fonctionnalité nécessite l'extension Olvane"),
                          titleFont, this);
    close_ = new HoverableIconButton(
        "xmark", [this] { dismiss_(); }, Theme::black(), kCloseSize, false,
        QStringLiteral("Fermer"), this);
    auto* header = new QHBoxLayout();
    header->setSpacing(0);
    header->addWidget(title_, 1, Qt::AlignTop);
    header->addSpacing(kTitleGap);
    header->addWidget(close_, 0, Qt::AlignTop);

    auto* message = wrappedLabel(
        QStringLiteral("Installe l'extension Olvane sur ton navigateur pour que tes réglages "
                       "s'appliquent aux sites web."),
        Theme::fontRegular14(), this);

    later_ = button(QStringLiteral("Plus tard"), ActionButton::Style::outlined, this);
    open_ = button(QStringLiteral("Ouvrir la page Extensions"), ActionButton::Style::filled, this);
    connect(later_, &QAbstractButton::clicked, this, [this] { dismiss_(); });
    connect(open_, &QAbstractButton::clicked, this, [this] { openExtensions_(); });
    auto* buttons = new QHBoxLayout();
    buttons->setSpacing(kButtonSpacing);
    buttons->addStretch(1);
    buttons->addWidget(later_, 0, Qt::AlignVCenter);
    buttons->addWidget(open_, 0, Qt::AlignVCenter);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    column->setSpacing(0);
    column->addLayout(header);
    column->addSpacing(kHeaderBottom);
    column->addWidget(message);
    column->addSpacing(kMessageBottom);
    column->addLayout(buttons);
}

QSize WebExtensionPromptSheet::sizeHint() const {
    const int height = layout()->totalHeightForWidth(kWidth);
    return {kWidth, height > 0 ? height : layout()->totalSizeHint().height()};
}

void WebExtensionPromptSheet::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            dismiss_();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            openExtensions_();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}

void WebExtensionPromptSheet::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    setFocus(Qt::OtherFocusReason);
}

void WebExtensionPromptSheet::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), Theme::white());
}

}  // namespace olvane::ui
