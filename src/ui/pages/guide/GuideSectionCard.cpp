#include "ui/pages/guide/GuideSectionCard.h"

#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/Animations.h"
#include "ui/foundation/DebugDimensionOverlay.h"
#include "ui/foundation/DebugMarker.h"
#include "ui/foundation/DebugPaddingOverlay.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/HoverButton.h"
#include "ui/foundation/OverlayLayer.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr int kHeaderPadding = 16;
constexpr int kChevronFrame = 24;
constexpr qreal kChevronSize = 12;
constexpr int kBodyGap = 16;

qreal interpolate(qreal from, qreal to, qreal progress) {
    return from + (to - from) * progress;
}

}  // namespace

// The clickable title bar: black, rounded at the top always (the card's corners) and at the
// bottom only while the card is closed.
class GuideSectionCard::Header final : public HoverButton {
  public:
    Header(const QString& title, GuideSectionCard& card)
        : HoverButton(&card),
          card_(card),
          titleMarker_(debugMarker(this, QStringLiteral("Title"), DebugColor::green)),
          chevronMarker_(debugMarker(this, QStringLiteral("Chevron"), DebugColor::red)),
          padding_(new DebugPaddingOverlay(
              new QWidget(),
              QMarginsF(kHeaderPadding, kHeaderPadding, kHeaderPadding, kHeaderPadding),
              QStringLiteral("header.pad"), this)) {
        setText(title);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setFixedHeight(kHeaderPadding * 2 + std::max(kChevronFrame, contentHeight()));
        padding_->setAttribute(Qt::WA_TransparentForMouseEvents);
        padding_->lower();
        debugOverlay(this, QStringLiteral("SectionHeader"), DebugColor::orange);
    }

  protected:
    void paintContent(QPainter& painter) override {
        const qreal top = Theme::cornerRadius;
        const qreal bottom = card_.headerBottomRadius();
        painter.fillPath(RoundedShape::continuous(rect(), top, bottom, bottom, top),
                         Theme::black());
        painter.setFont(Theme::fontMedium14());
        painter.setPen(Theme::white());
        const QRect title = titleArea();
        painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         painter.fontMetrics().elidedText(text(), Qt::ElideRight, title.width()));
        SymbolPainter::paint(painter, chevronRect(), card_.chevron(), kChevronSize, Theme::white());
    }

    void resizeEvent(QResizeEvent* event) override {
        HoverButton::resizeEvent(event);
        padding_->setGeometry(rect());
        titleMarker_->setGeometry(titleRect());
        chevronMarker_->setGeometry(chevronRect());
    }

  private:
    int contentHeight() const { return QFontMetrics(Theme::fontMedium14()).height(); }

    QRect chevronRect() const {
        return {width() - kHeaderPadding - kChevronFrame, (height() - kChevronFrame) / 2,
                kChevronFrame, kChevronFrame};
    }

    // All the room the title may take, up to the chevron.
    QRect titleArea() const {
        return {kHeaderPadding, (height() - contentHeight()) / 2,
                std::max(0, chevronRect().left() - kHeaderPadding), contentHeight()};
    }

    // What the title covers of it.
    QRect titleRect() const {
        QRect area = titleArea();
        area.setWidth(std::min(area.width(),
                               QFontMetrics(Theme::fontMedium14()).horizontalAdvance(text()) + 1));
        return area;
    }

    GuideSectionCard& card_;
    QWidget* titleMarker_;
    QWidget* chevronMarker_;
    DebugPaddingOverlay* padding_;
};

// The outline, over the header and the content, inside the card's edges.
class GuideSectionCard::Border final : public OverlayLayer {
  public:
    explicit Border(GuideSectionCard& card) : OverlayLayer(&card), card_(card) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal half = card_.borderWidth() / 2;
        painter.strokePath(
            RoundedShape::continuous(QRectF(rect()).adjusted(half, half, -half, -half),
                                     Theme::cornerRadius),
            QPen(Theme::black(), card_.borderWidth()));
    }

  private:
    GuideSectionCard& card_;
};

GuideSectionCard::GuideSectionCard(const QString& title, bool isExpanded,
                                   std::function<void()> onToggleExpand, QWidget* content,
                                   QWidget* parent)
    : QWidget(parent),
      expanded_(isExpanded),
      openness_(isExpanded ? 1 : 0),
      header_(new Header(title, *this)),
      body_(new QWidget(this)) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(header_);
    connect(header_, &QAbstractButton::clicked, this,
            [onToggleExpand = std::move(onToggleExpand)] { onToggleExpand(); });

    auto* body = new QVBoxLayout(body_);
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    // A line that only takes its point of height: the header already ends the block.
    auto* separator = new QWidget(body_);
    separator->setFixedHeight(1);
    debugOverlay(separator, QStringLiteral("Separator"), DebugColor::gray);
    body->addWidget(separator);
    body->addWidget(new DebugSpacingIndicator(QStringLiteral("p4"), kBodyGap, Qt::Vertical, body_));
    content->setParent(body_);
    body->addWidget(content);
    body->addWidget(new DebugSpacingIndicator(QStringLiteral("p4"), kBodyGap, Qt::Vertical, body_));
    body_->setVisible(expanded_);
    column->addWidget(body_);

    new Border(*this);
    animation_.setDuration(kAnimationMs);
    animation_.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&animation_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        openness_ = value.toReal();
        update();
        header_->update();
    });
}

void GuideSectionCard::setExpanded(bool expanded) {
    if (expanded == expanded_) {
        return;
    }
    expanded_ = expanded;
    body_->setVisible(expanded_);
    animation_.stop();
    animation_.setStartValue(openness_);
    animation_.setEndValue(expanded_ ? 1.0 : 0.0);
    Animations::start(animation_);
    update();
}

QAbstractButton* GuideSectionCard::header() const {
    return header_;
}

qreal GuideSectionCard::headerBottomRadius() const {
    return interpolate(Theme::cornerRadius, 0, openness_);
}

qreal GuideSectionCard::borderWidth() const {
    return interpolate(kCollapsedBorder, kExpandedBorder, openness_);
}

const char* GuideSectionCard::chevron() const {
    return expanded_ ? "chevron.up" : "chevron.down";
}

void GuideSectionCard::paintEvent(QPaintEvent*) {
    if (!expanded_) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(RoundedShape::continuous(rect(), Theme::cornerRadius), Theme::white());
}

}  // namespace olvane::ui
