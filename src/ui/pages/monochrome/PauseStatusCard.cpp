#include "ui/pages/monochrome/PauseStatusCard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/SymbolView.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"

namespace olvane::ui {
namespace {

constexpr int kPadding = 20;
constexpr int kSpacing = 8;
constexpr int kTextSpacing = 4;
constexpr qreal kSymbolSize = 24;

// "Reprendre" in a white outlined pill; the card around it takes the click.
class ResumePill final : public QWidget {
  public:
    static constexpr int kPaddingH = 16;
    static constexpr int kPaddingV = 8;

    explicit ResumePill(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFixedSize(sizeHint());
    }

    QSize sizeHint() const override {
        const QFontMetrics metrics(Theme::fontMedium14());
        return {metrics.horizontalAdvance(text()) + 2 * kPaddingH,
                metrics.height() + 2 * kPaddingV};
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal inset = Theme::outlineWidth / 2;
        const QPainterPath pill = RoundedShape::continuous(
            QRectF(rect()).adjusted(inset, inset, -inset, -inset), Theme::cornerRadius);
        painter.fillPath(pill, Theme::white());
        painter.strokePath(pill, QPen(Theme::black(), Theme::outlineWidth));
        painter.setFont(Theme::fontMedium14());
        painter.setPen(Theme::black());
        painter.drawText(rect(), Qt::AlignCenter, text());
    }

  private:
    static QString text() { return QStringLiteral("Reprendre"); }
};

}  // namespace

PauseStatusCard::PauseStatusCard(std::function<void()> onResume, QWidget* parent)
    : TappableCard(std::move(onResume), parent),
      countdown_(themedLabel(QString(), Theme::fontRegular14(), this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    row->setSpacing(kSpacing);
    row->addWidget(new SymbolView("pause.circle.fill", kSymbolSize, Theme::black(), this));
    auto* texts = new QVBoxLayout();
    texts->setSpacing(kTextSpacing);
    texts->addWidget(themedLabel(QStringLiteral("Pause en cours"), Theme::fontMedium14(), this));
    texts->addWidget(countdown_);
    row->addLayout(texts);
    row->addStretch(1);
    row->addWidget(new ResumePill(this));
}

void PauseStatusCard::setRemaining(const QString& remaining) {
    countdown_->setText(QStringLiteral("Reprend dans ") + remaining);
}

QString PauseStatusCard::countdown() const {
    return countdown_->text();
}

}  // namespace olvane::ui
