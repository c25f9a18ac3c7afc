#include "ui/pages/extensions/GuideStepRow.h"

#include <QHBoxLayout>
#include <QPainter>
#include <cmath>

#include "ui/foundation/HoverButton.h"
#include "ui/foundation/HoverScale.h"
#include "ui/foundation/TabularLabel.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/foundation/WrappingLabel.h"

namespace olvane::ui {
namespace {

int ceilWidth(const QString& text, const QFont& font) {
    return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
}

// Room on each side of the link phrase for its growth under the pointer. The room overlaps the
// words beside it, so that at rest the phrase sits where plain text would and, grown, it reaches
// into the spaces around it as a scaled view would.
int growthRoom(int textWidth, int height) {
    HoverScale scale;
    scale.measure({static_cast<double>(textWidth), static_cast<double>(height)});
    scale.setHovered(true);
    return static_cast<int>(std::ceil((scale.factor() - 1) * textWidth / 2));
}

// The link phrase: underlined, without chrome; it acts on click.
class LinkButton final : public HoverButton {
  public:
    LinkButton(const QString& phrase, QWidget* parent) : HoverButton(parent) {
        setText(phrase);
        setAccessibleName(QStringLiteral("Ouvrir ") + phrase);
        setCursor(Qt::PointingHandCursor);
        const int textWidth = ceilWidth(phrase, Theme::fontRegular14());
        const int height = QFontMetrics(Theme::fontRegular14()).height();
        room_ = growthRoom(textWidth, height);
        setFixedSize(textWidth + 2 * room_, height);
    }

    int room() const { return room_; }

  protected:
    void paintContent(QPainter& painter) override {
        QFont font = Theme::fontRegular14();
        font.setUnderline(true);
        painter.setFont(font);
        painter.setPen(Theme::black());
        painter.drawText(QPointF(room_, QFontMetricsF(font).ascent()), text());
    }

  private:
    int room_;
};

// The text of a step that holds its link phrase: the words before it, the link, the words after,
// on one baseline.
class LinkedText final : public QWidget {
  public:
    LinkedText(QString before, LinkButton* link, QString after, QWidget* parent)
        : QWidget(parent), before_(std::move(before)), after_(std::move(after)), link_(link) {
        link_->setParent(this);
        const QFont font = Theme::fontRegular14();
        link_->move(ceilWidth(before_, font) - link_->room(), 0);
        setFixedHeight(link_->height());
        setMinimumWidth(afterStart() + ceilWidth(after_, font));
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setFont(Theme::fontRegular14());
        painter.setPen(Theme::black());
        const qreal baseline = QFontMetricsF(painter.font()).ascent();
        painter.drawText(QPointF(0, baseline), before_);
        painter.drawText(QPointF(afterStart(), baseline), after_);
    }

  private:
    int afterStart() const { return link_->x() + link_->width() - link_->room(); }

    QString before_;
    QString after_;
    LinkButton* link_;
};

}  // namespace

GuideStepRow::GuideStepRow(int number, const QString& text,
                           const std::optional<QString>& linkPhrase,
                           std::function<void()> onPrimaryAction, QWidget* parent)
    : QWidget(parent), number_(number) {
    setAccessibleName(QStringLiteral("Étape %1. %2").arg(number).arg(text));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kSpacing);
    // "n." with digits of equal width.
    row->addWidget(
        new TabularLabel(QString::number(number) + QLatin1Char('.'), Theme::fontRegular14(), this),
        0, Qt::AlignTop);

    const qsizetype at =
        linkPhrase && !linkPhrase->isEmpty() ? text.indexOf(*linkPhrase) : qsizetype(-1);
    if (at < 0) {
        auto* label = new WrappingLabel(text, this);
        label->setFont(Theme::fontRegular14());
        setTextColor(label, Theme::black());
        row->addWidget(label, 1, Qt::AlignTop);
        return;
    }
    auto* link = new LinkButton(*linkPhrase, this);
    connect(link, &QAbstractButton::clicked, this,
            [onPrimaryAction = std::move(onPrimaryAction)] { onPrimaryAction(); });
    link_ = link;
    row->addWidget(new LinkedText(text.left(at), link, text.mid(at + linkPhrase->size()), this), 1,
                   Qt::AlignTop);
}

}  // namespace olvane::ui
