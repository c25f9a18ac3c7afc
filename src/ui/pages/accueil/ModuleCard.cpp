#include "ui/pages/accueil/ModuleCard.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>
#include <cmath>

#include "ui/foundation/DebugMarker.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr qreal kIconSize = 20;
// A width that a card is never given, for a size hint that does not wrap.
constexpr qreal kNaturalWidth = 240;
constexpr std::size_t kWidthsKept = 4;

// `text` broken into lines of at most `width`; with `maxLines`, the last line holds the rest of
// the text, cut with an ellipsis where it does not fit.
QStringList wrappedLines(const QString& text, const QFont& font, qreal width, int maxLines = 0) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (maxLines > 0 && lines.size() == maxLines - 1) {
            lines << QFontMetricsF(font).elidedText(text.mid(line.textStart()).trimmed(),
                                                    Qt::ElideRight, width);
            break;
        }
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

void drawLines(QPainter& painter, const QStringList& lines, const QRectF& block,
               const QFont& font) {
    const qreal lineHeight = QFontMetricsF(font).height();
    painter.setFont(font);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QRectF line(block.left(), block.top() + static_cast<qreal>(i) * lineHeight,
                          block.width(), lineHeight);
        painter.drawText(line, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, lines[i]);
    }
}

}  // namespace

ModuleCard::ModuleCard(const QString& title, const QString& description, std::string iconName,
                       std::function<void()> action, QWidget* parent)
    : HoverButton(parent),
      title_(title),
      description_(description),
      iconName_(std::move(iconName)),
      iconMarker_(debugMarker(this, QStringLiteral("Icon"), DebugColor::purple)),
      titleMarker_(debugMarker(this, QStringLiteral("Title"), DebugColor::green)),
      descriptionMarker_(debugMarker(this, QStringLiteral("Description"), DebugColor::mint)),
      gapAboveTitle_(new DebugSpacingIndicator(QStringLiteral("p3"), kGap, Qt::Vertical, this)),
      gapAboveDescription_(
          new DebugSpacingIndicator(QStringLiteral("p3"), kGap, Qt::Vertical, this)) {
    setAccessibleName(title);
    setAccessibleDescription(description);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    connect(this, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
}

const ModuleCard::Wrapped& ModuleCard::wrapped(qreal width) const {
    for (const auto& kept : wrapped_) {
        if (kept.width == width) {
            return kept;
        }
    }
    if (wrapped_.size() == kWidthsKept) {
        wrapped_.erase(wrapped_.begin());
    }
    return wrapped_.emplace_back(
        Wrapped{width, wrappedLines(title_, Theme::fontMedium14(), width),
                wrappedLines(description_, Theme::fontRegular14(), width, kDescriptionLines)});
}

ModuleCard::Geometry ModuleCard::geometry(qreal width, qreal height) const {
    Geometry g;
    const qreal inner = std::max<qreal>(1, width - 2 * kPadding);
    const QFont titleFont = Theme::fontMedium14();
    const QFont descriptionFont = Theme::fontRegular14();
    const auto& lines = wrapped(inner);
    g.titleLines = lines.titleLines;
    g.descriptionLines = lines.descriptionLines;
    const qreal titleHeight =
        QFontMetricsF(titleFont).height() * static_cast<qreal>(g.titleLines.size());
    const qreal descriptionHeight =
        QFontMetricsF(descriptionFont).height() * static_cast<qreal>(g.descriptionLines.size());
    g.contentHeight = kIconFrame + kGap + titleHeight + kGap + descriptionHeight;

    qreal top = std::round((height - g.contentHeight) / 2);
    g.icon = QRectF(kPadding, top, inner, kIconFrame);
    top += kIconFrame + kGap;
    g.title = QRectF(kPadding, top, inner, titleHeight);
    top += titleHeight + kGap;
    g.description = QRectF(kPadding, top, inner, descriptionHeight);
    return g;
}

QStringList ModuleCard::descriptionLines() const {
    return geometry(width(), height()).descriptionLines;
}

int ModuleCard::heightForWidth(int width) const {
    const qreal content = geometry(width, 0).contentHeight;
    return std::max(kMinimumHeight, static_cast<int>(std::ceil(content)) + 2 * kPadding);
}

QSize ModuleCard::sizeHint() const {
    return {static_cast<int>(kNaturalWidth), heightForWidth(static_cast<int>(kNaturalWidth))};
}

QSize ModuleCard::minimumSizeHint() const {
    return {2 * kPadding, kMinimumHeight};
}

void ModuleCard::paintContent(QPainter& painter) {
    const qreal inset = Theme::outlineWidth / 2;
    const QPainterPath shape = RoundedShape::continuous(
        QRectF(rect()).adjusted(inset, inset, -inset, -inset), Theme::cornerRadius);
    painter.fillPath(shape, Theme::white());
    painter.strokePath(shape, QPen(Theme::black(), Theme::outlineWidth));

    const Geometry g = geometry(width(), height());
    SymbolPainter::paint(painter, g.icon, iconName_, kIconSize, Theme::black());
    painter.setPen(Theme::black());
    drawLines(painter, g.titleLines, g.title, Theme::fontMedium14());
    drawLines(painter, g.descriptionLines, g.description, Theme::fontRegular14());
}

void ModuleCard::resizeEvent(QResizeEvent* event) {
    HoverButton::resizeEvent(event);
    const Geometry g = geometry(width(), height());
    // The symbol's own box: as wide as its frame is high, in the middle of the row.
    iconMarker_->setGeometry(
        QRectF(g.icon.center().x() - kIconFrame / 2.0, g.icon.top(), kIconFrame, kIconFrame)
            .toRect());
    titleMarker_->setGeometry(g.title.toRect());
    descriptionMarker_->setGeometry(g.description.toRect());
    gapAboveTitle_->setGeometry(
        QRectF(g.title.left(), g.title.top() - kGap, g.title.width(), kGap).toRect());
    gapAboveDescription_->setGeometry(
        QRectF(g.description.left(), g.description.top() - kGap, g.description.width(), kGap)
            .toRect());
}

}  // namespace olvane::ui
