#include "ui/foundation/AddExceptionRow.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/FadingSeparator.h"
#include "ui/foundation/HoverButton.h"
#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr int kBadgeSide = 24;
constexpr int kSpacing = 12;
// The badge and the label: the part that grows under the pointer.
class AddGroup final : public HoverButton {
  public:
    AddGroup(const QString& label, QWidget* parent) : HoverButton(parent) {
        setText(label);
        setAccessibleName(label);
    }

    QSize sizeHint() const override {
        const QFontMetrics metrics(Theme::fontRegular14());
        return {kBadgeSide + kSpacing + metrics.horizontalAdvance(text()),
                std::max(kBadgeSide, metrics.height())};
    }

  protected:
    void paintContent(QPainter& painter) override {
        const QRectF badge(0.5, (height() - kBadgeSide) / 2.0 + 0.5, kBadgeSide - 1,
                           kBadgeSide - 1);
        QPen ring(Theme::withOpacity(Theme::black(), 0.3), 1, Qt::SolidLine, Qt::FlatCap,
                  Qt::MiterJoin);
        ring.setMiterLimit(10);
        painter.setPen(ring);
        painter.drawEllipse(badge);
        SymbolPainter::paint(painter, badge, "plus", 12, Theme::black());
        painter.setFont(Theme::fontRegular14());
        painter.setPen(Theme::black());
        painter.drawText(
            QRectF(kBadgeSide + kSpacing, 0, width() - kBadgeSide - kSpacing, height()),
            Qt::AlignLeft | Qt::AlignVCenter, text());
    }
};

// The whole row under the separator: a click anywhere on it counts.
class RowButton final : public QAbstractButton {
  public:
    using QAbstractButton::QAbstractButton;

  protected:
    void paintEvent(QPaintEvent*) override {}
    bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
};

}  // namespace

AddExceptionRow::AddExceptionRow(const QString& label, std::function<void()> action,
                                 bool showSeparator, bool separatorHidden, QWidget* parent)
    : QWidget(parent),
      button_(new RowButton(this)),
      group_(new AddGroup(label, button_)),
      separatorHidden_(separatorHidden) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    if (showSeparator) {
        separator_ = new FadingSeparator(separatorHidden, this);
        column->addWidget(separator_);
    }
    column->addWidget(button_);
    button_->setFocusPolicy(Qt::NoFocus);
    auto* row = new QHBoxLayout(button_);
    row->setContentsMargins(8, 8, 8, 8);
    row->setSpacing(kSpacing);
    row->addWidget(group_);
    row->addStretch(1);

    for (QAbstractButton* clickable : {button_, static_cast<QAbstractButton*>(group_)}) {
        connect(clickable, &QAbstractButton::clicked, this, [action] {
            if (action) {
                action();
            }
        });
    }
}

AddExceptionRow* AddExceptionRow::keptAtEnd(AddExceptionRow* current, QBoxLayout& layout,
                                            const QString& label,
                                            const std::function<void()>& action, bool showSeparator,
                                            QWidget* parent) {
    if (current && current->hasSeparator() == showSeparator) {
        return current;
    }
    if (current) {
        layout.removeWidget(current);
        current->hide();
        current->deleteLater();
    }
    auto* row = new AddExceptionRow(label, action, showSeparator, false, parent);
    layout.addWidget(row);
    return row;
}

void AddExceptionRow::setSeparatorHidden(bool hidden) {
    if (hidden == separatorHidden_) {
        return;
    }
    separatorHidden_ = hidden;
    if (separator_) {
        separator_->setLineHidden(hidden);
    }
}

qreal AddExceptionRow::separatorOpacity() const {
    return separator_ ? separator_->opacity() : 0.0;
}

}  // namespace olvane::ui
