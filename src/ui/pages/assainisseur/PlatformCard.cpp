#include "ui/pages/assainisseur/PlatformCard.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

#include "model/ContentRuleCatalogue.h"
#include "ui/foundation/Animations.h"
#include "ui/foundation/FaviconService.h"
#include "ui/foundation/HoverButton.h"
#include "ui/foundation/IconImage.h"
#include "ui/foundation/PlatformSymbol.h"
#include "ui/foundation/RoundedOutline.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/Separator.h"
#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/Theme.h"
#include "ui/pages/assainisseur/ContentFilterViewModel.h"
#include "ui/pages/assainisseur/RuleRow.h"

namespace olvane::ui {
namespace {

constexpr int kTitleGap = 12;
constexpr qreal kLogoSymbolSize = 20;
constexpr qreal kChevronSize = 12;
constexpr qreal kBadgeSymbolSize = 10;
constexpr qreal kBadgeSpacing = 4;
constexpr qreal kBadgeTrailing = 12;
constexpr int kDividerIndent = 60;
constexpr int kListBottom = 8;
constexpr qreal kFaintOpacity = 0.1;
constexpr qreal kCollapsedBorder = 1.0;
constexpr qreal kActiveBorder = 1.5;

qreal interpolate(qreal from, qreal to, qreal progress) {
    return from + (to - from) * progress;
}

QColor mix(const QColor& from, const QColor& to, qreal progress) {
    return QColor::fromRgbF(static_cast<float>(interpolate(from.redF(), to.redF(), progress)),
                            static_cast<float>(interpolate(from.greenF(), to.greenF(), progress)),
                            static_cast<float>(interpolate(from.blueF(), to.blueF(), progress)),
                            static_cast<float>(interpolate(from.alphaF(), to.alphaF(), progress)));
}

QColor faintBlack(qreal share = 1) {
    return Theme::withOpacity(Theme::black(), kFaintOpacity * share);
}

QString displayName(Platform platform) {
    const auto name = ContentRuleCatalogue::displayName(platform);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

// The clickable row on top: the logo, the title, the count of rules on and the chevron, on a
// black fill while the card is active.
class PlatformCard::Header final : public HoverButton {
  public:
    explicit Header(PlatformCard& card) : HoverButton(&card), card_(card) {
        setText(displayName(card.platform()));
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setFixedHeight(kHeaderPadding * 2 + kChevronFrame);
    }

  protected:
    void paintContent(QPainter& painter) override {
        painter.fillPath(RoundedShape::continuous(rect(), card_.headerCornerRadius()),
                         card_.headerFill());
        const QColor foreground = card_.foreground();
        const QRectF logo(kHeaderPadding, (height() - kLogoSide) / 2.0, kLogoSide, kLogoSide);
        if (!card_.logo().isNull()) {
            painter.drawImage(IconImage::fittedIn(card_.logo(), logo), card_.logo());
        } else {
            SymbolPainter::paint(painter, logo, platformSymbol(card_.platform()), kLogoSymbolSize,
                                 foreground);
        }
        const QRectF chevron(width() - kHeaderPadding - kChevronFrame,
                             (height() - kChevronFrame) / 2.0, kChevronFrame, kChevronFrame);
        SymbolPainter::paint(painter, chevron, card_.isExpanded() ? "chevron.up" : "chevron.down",
                             kChevronSize, foreground);
        const qreal trailing = paintBadge(painter, chevron.left());
        painter.setFont(Theme::fontMedium14());
        painter.setPen(foreground);
        const QRectF title(logo.right() + kTitleGap, 0,
                           std::max<qreal>(0, trailing - logo.right() - kTitleGap), height());
        painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
    }

  private:
    // Returns where the badge begins (`right` when there is none).
    qreal paintBadge(QPainter& painter, qreal right) {
        const QString badge = card_.badgeText();
        if (badge.isEmpty()) {
            return right;
        }
        const QFontMetricsF metrics(Theme::fontRegular14());
        const qreal textWidth = metrics.horizontalAdvance(badge);
        const qreal symbolSide = SymbolPainter::boxSide(kBadgeSymbolSize);
        const qreal textLeft = right - kBadgeTrailing - textWidth;
        const qreal symbolLeft = textLeft - kBadgeSpacing - symbolSide;
        SymbolPainter::paint(
            painter, QRectF(symbolLeft, (height() - symbolSide) / 2, symbolSide, symbolSide),
            "checkmark.circle.fill", kBadgeSymbolSize, Theme::white());
        painter.setFont(Theme::fontRegular14());
        painter.setPen(Theme::white());
        painter.drawText(QRectF(textLeft, 0, textWidth + 1, height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, badge);
        return symbolLeft;
    }

    PlatformCard& card_;
};

PlatformCard::PlatformCard(Platform platform, ContentFilterViewModel& viewModel,
                           FaviconService& favicons, bool isExpanded,
                           std::function<void()> onToggleExpand, QWidget* parent)
    : QWidget(parent),
      platform_(platform),
      viewModel_(viewModel),
      favicons_(favicons),
      expanded_(isExpanded),
      openness_(isExpanded ? 1 : 0),
      header_(new Header(*this)),
      body_(new QWidget(this)) {
    const auto name = rawValue(platform);
    setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    // As tall as its header and the part of its list shown: never stretched.
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(header_);
    column->addWidget(body_);
    connect(header_, &QAbstractButton::clicked, this,
            [onToggleExpand = std::move(onToggleExpand)] { onToggleExpand(); });

    auto* body = new QVBoxLayout(body_);
    body->setContentsMargins(0, 0, 0, kListBottom);
    body->setSpacing(0);
    separator_ = new Separator(Qt::Horizontal, faintBlack(), body_);
    body->addWidget(separator_);
    rowsLayout_ = new QVBoxLayout();
    rowsLayout_->setSpacing(0);
    body->addLayout(rowsLayout_);

    outline_ = new RoundedOutline(this, Theme::cornerRadius, kCollapsedBorder);
    for (auto* animation : {&opening_, &activation_}) {
        animation->setDuration(kAnimationMs);
        animation->setEasingCurve(QEasingCurve::InOutQuad);
    }
    connect(&opening_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        openness_ = value.toReal();
        applyProgress();
    });
    connect(&activation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        activeness_ = value.toReal();
        applyProgress();
    });

    active_ = viewModel_.enabledRuleCount(platform_) >= 1;
    activeness_ = active_ ? 1 : 0;
    rebuildRows();
    refreshLogo();
    applyProgress();
    modelObservation_ = viewModel_.observe([this] { refresh(); });
    faviconObservation_ = favicons_.observeUpdates([this] {
        refreshLogo();
        header_->update();
    });
}

PlatformCard::~PlatformCard() = default;

QAbstractButton* PlatformCard::header() const {
    return header_;
}

void PlatformCard::setExpanded(bool expanded) {
    if (expanded == expanded_) {
        return;
    }
    expanded_ = expanded;
    animate(opening_, openness_, expanded ? 1 : 0);
}

RuleRow* PlatformCard::ruleRow(const std::string& ruleId) const {
    for (auto* row : rows_) {
        if (row->ruleId() == ruleId) {
            return row;
        }
    }
    return nullptr;
}

QString PlatformCard::badgeText() const {
    if (!active_) {
        return {};
    }
    return QStringLiteral("%1/%2")
        .arg(viewModel_.enabledRuleCount(platform_))
        .arg(viewModel_.ruleCount(platform_));
}

qreal PlatformCard::headerCornerRadius() const {
    return interpolate(Theme::cornerRadius, 0, openness_);
}

QColor PlatformCard::headerFill() const {
    return Theme::withOpacity(Theme::black(), activeness_);
}

QColor PlatformCard::foreground() const {
    return mix(Theme::black(), Theme::white(), activeness_);
}

// Closed: black, 1. Open: black and 1.5 while active, faint and 1 while not.
qreal PlatformCard::borderWidth() const {
    return interpolate(kCollapsedBorder, interpolate(kCollapsedBorder, kActiveBorder, activeness_),
                       openness_);
}

QColor PlatformCard::borderColor() const {
    return mix(Theme::black(), mix(faintBlack(), Theme::black(), activeness_), openness_);
}

qreal PlatformCard::separatorOpacity() const {
    return 1 - activeness_;
}

void PlatformCard::refresh() {
    const bool active = viewModel_.enabledRuleCount(platform_) >= 1;
    if (active != active_) {
        active_ = active;
        animate(activation_, activeness_, active ? 1 : 0);
    }
    const auto rules = viewModel_.rules(platform_);
    bool sameRules = rules.size() == rows_.size();
    for (std::size_t i = 0; sameRules && i < rules.size(); ++i) {
        sameRules = rows_[i]->ruleId() == rules[i].id;
    }
    if (!sameRules) {
        rebuildRows();
    }
    for (auto* row : rows_) {
        row->setEnabledState(viewModel_.isRuleEnabled(row->ruleId(), platform_));
    }
    header_->update();
}

void PlatformCard::rebuildRows() {
    // Later, not now: the click that changed the list may come from one of these rows.
    for (QWidget* old : rows_) {
        old->hide();
        old->deleteLater();
    }
    for (QWidget* old : dividers_) {
        old->hide();
        old->deleteLater();
    }
    rows_.clear();
    dividers_.clear();
    const auto rules = viewModel_.rules(platform_);
    for (const auto& rule : rules) {
        auto* row = new RuleRow(
            rule, viewModel_.isRuleEnabled(rule.id, platform_),
            [this, id = rule.id](bool enabled) { viewModel_.toggleRule(id, platform_, enabled); },
            body_);
        rowsLayout_->addWidget(row);
        rows_.push_back(row);
        if (rule.id != rules.back().id) {
            auto* divider = new QWidget(body_);
            auto* line = new QHBoxLayout(divider);
            line->setContentsMargins(kDividerIndent, 0, 0, 0);
            line->addWidget(Separator::divider(divider));
            rowsLayout_->addWidget(divider);
            dividers_.push_back(divider);
        }
    }
    applyProgress();
}

void PlatformCard::refreshLogo() {
    const auto domain = ContentRuleCatalogue::faviconDomain(platform_);
    if (const auto icon = favicons_.cachedFavicon(domain)) {
        logo_ = IconImage::desaturated(*icon);
    }
}

void PlatformCard::animate(QVariantAnimation& animation, qreal& progress, qreal target) {
    animation.stop();
    animation.setStartValue(progress);
    animation.setEndValue(target);
    Animations::start(animation);
    applyProgress();
}

void PlatformCard::applyProgress() {
    body_->setVisible(openness_ > 0);
    body_->setMaximumHeight(static_cast<int>(std::ceil(openness_ * body_->sizeHint().height())));
    separator_->setColor(faintBlack(separatorOpacity()));
    outline_->setOutline(borderWidth(), borderColor());
    header_->update();
    update();
}

void PlatformCard::paintEvent(QPaintEvent*) {
    if (openness_ <= 0) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(RoundedShape::continuous(rect(), Theme::cornerRadius),
                     Theme::withOpacity(Theme::white(), openness_));
}

}  // namespace olvane::ui
