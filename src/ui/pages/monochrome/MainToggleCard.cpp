#include "ui/pages/monochrome/MainToggleCard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/foundation/Animations.h"
#include "ui/foundation/MainCardToggle.h"
#include "ui/foundation/SymbolView.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"

namespace olvane::ui {
namespace {

constexpr qreal kSymbolSize = 28;
constexpr qreal kToggleScale = 1.5;
// The card's own padding, then the symbol's and the switch's.
constexpr int kPaddingH = 20 + 16;
constexpr int kPaddingV = 32;
constexpr int kSpacing = 16;
constexpr int kTextSpacing = 4;

QColor mix(const QColor& from, const QColor& to, qreal progress) {
    const auto blend = [progress](float a, float b) {
        return a + (b - a) * static_cast<float>(progress);
    };
    return QColor::fromRgbF(blend(from.redF(), to.redF()), blend(from.greenF(), to.greenF()),
                            blend(from.blueF(), to.blueF()));
}

const char* symbolFor(bool on) {
    return on ? "circle.fill" : "circle";
}

}  // namespace

MainToggleCard::MainToggleCard(bool on, std::function<void()> onTap, QWidget* parent)
    : TappableCard(std::move(onTap), parent),
      on_(on),
      symbol_(new SymbolView(symbolFor(on), kSymbolSize, Theme::black(), this)),
      title_(themedLabel(QStringLiteral("Activer le filtre"), Theme::fontMedium14(), this)),
      status_(themedLabel(statusText(on), Theme::fontRegular14(), this)),
      toggle_(new MainCardToggle(on, kToggleScale, this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kPaddingH, kPaddingV, kPaddingH, kPaddingV);
    row->setSpacing(kSpacing);
    row->addWidget(symbol_);
    auto* texts = new QVBoxLayout();
    texts->setSpacing(kTextSpacing);
    texts->addWidget(title_);
    texts->addWidget(status_);
    row->addLayout(texts);
    row->addStretch(1);
    row->addWidget(toggle_);

    crossing_.setDuration(kAnimationMs);
    crossing_.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&crossing_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) { showProgress(value.toReal()); });
    showProgress(on ? 1 : 0);
}

QString MainToggleCard::statusText(bool on) {
    return on ? QStringLiteral("État : Le filtre noir et blanc est actif")
              : QStringLiteral("État : Le filtre noir et blanc est inactif");
}

QString MainToggleCard::status() const {
    return status_->text();
}

void MainToggleCard::setOn(bool on) {
    if (on == on_) {
        return;
    }
    on_ = on;
    status_->setText(statusText(on));
    toggle_->setActive(on);
    crossing_.stop();
    // From wherever a crossing still running has got to.
    crossing_.setStartValue(progress_);
    crossing_.setEndValue(on ? 1.0 : 0.0);
    Animations::start(crossing_);
}

void MainToggleCard::showProgress(qreal progress) {
    progress_ = progress;
    const QColor content = mix(Theme::black(), Theme::white(), progress);
    setColors(mix(Theme::white(), Theme::black(), progress), Theme::black());
    symbol_->setSymbol(symbolFor(on_), content);
    setTextColor(title_, content);
    setTextColor(status_, content);
}

}  // namespace olvane::ui
