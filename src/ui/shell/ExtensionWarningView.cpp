#include "ui/shell/ExtensionWarningView.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/ActionButton.h"
#include "ui/foundation/DropShadow.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"

namespace olvane::ui {
namespace {

constexpr int kTitleGap = 12;
constexpr int kMessageGap = 20;
constexpr int kButtonSpacing = 8;

QLabel* wrappedLabel(const QString& text, const QFont& font, QWidget* parent) {
    auto* label = themedLabel(text, font, parent);
    label->setWordWrap(true);
    label->setFixedWidth(ExtensionWarningView::kCardWidth - 2 * ExtensionWarningView::kPadding);
    return label;
}

}  // namespace

QString ExtensionWarningView::title() {
    return QStringLiteral("Extension Olvane non détectée");
}

QString ExtensionWarningView::message(BrowserType browser) {
    return QStringLiteral("L'extension de navigateur Olvane n'est pas détectée sur ") +
           QString::fromUtf8(displayName(browser).data(),
                             static_cast<qsizetype>(displayName(browser).size())) +
           QStringLiteral(
               ". Les fonctionnalités web de Olvane ne pourront donc pas fonctionner sur ce "
               "navigateur.");
}

ExtensionWarningView::ExtensionWarningView(BrowserType browser, std::function<void()> onManage,
                                           std::function<void()> onLater, QWidget* parent)
    : QWidget(parent),
      browser_(browser),
      onManage_(std::move(onManage)),
      onLater_(std::move(onLater)) {
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::StrongFocus);
    setFixedWidth(kCardWidth + 2 * kShadowRoom);
    auto* column = new QVBoxLayout(this);
    const int inset = kShadowRoom + kPadding;
    column->setContentsMargins(inset, inset, inset, inset);
    column->setSpacing(0);
    column->setSizeConstraint(QLayout::SetFixedSize);

    QFont titleFont = Theme::fontSemibold14();
    titleFont.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    auto* heading = wrappedLabel(title().toUpper(), titleFont, this);
    heading->setAccessibleName(title());
    column->addWidget(heading);
    column->addSpacing(kTitleGap);
    column->addWidget(wrappedLabel(message(browser), Theme::fontRegular14(), this));
    column->addSpacing(kMessageGap);

    manage_ = new ActionButton(QStringLiteral("Gérer les extensions"), ActionButton::Style::filled,
                               Theme::outlineWidth, this);
    later_ = new ActionButton(QStringLiteral("Plus tard"), ActionButton::Style::outlined,
                              Theme::outlineWidth, this);
    connect(manage_, &QAbstractButton::clicked, this, [this] { onManage_(); });
    connect(later_, &QAbstractButton::clicked, this, [this] { onLater_(); });
    column->addWidget(manage_);
    column->addSpacing(kButtonSpacing);
    column->addWidget(later_);
}

void ExtensionWarningView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        onManage_();
    } else if (event->key() == Qt::Key_Escape) {
        onLater_();
    } else {
        QWidget::keyPressEvent(event);
    }
}

void ExtensionWarningView::setShadowed(bool shadowed) {
    shadowed_ = shadowed;
    update();
}

QRect ExtensionWarningView::cardRect() const {
    return rect().adjusted(kShadowRoom, kShadowRoom, -kShadowRoom, -kShadowRoom);
}

void ExtensionWarningView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect card = cardRect();
    if (!shadowed_) {
        painter.fillRect(rect(), Theme::white());
        const QPainterPath shape = RoundedShape::continuous(
            QRectF(card).adjusted(0.5, 0.5, -0.5, -0.5), Theme::cornerRadius);
        painter.strokePath(shape, QPen(Theme::withOpacity(Theme::black(), 0.15), 1));
        return;
    }
    const auto shadow = Theme::shadowBlack15();
    if (shadow_.isNull() || shadowSize_ != card.size()) {
        shadowSize_ = card.size();
        shadow_ = DropShadow::render(shadowSize_, shadow, devicePixelRatioF());
    }
    const int offset = kShadowRoom - DropShadow::margin(shadow);
    painter.drawImage(QPointF(offset, offset), shadow_);
    painter.fillPath(RoundedShape::continuous(card, Theme::cornerRadius), Theme::white());
}

}  // namespace olvane::ui
