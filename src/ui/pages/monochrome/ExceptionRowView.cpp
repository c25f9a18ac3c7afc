#include "ui/pages/monochrome/ExceptionRowView.h"

#include <QHBoxLayout>
#include <QPainter>

#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/Theme.h"
#include "ui/pages/monochrome/ExceptionDeleteButton.h"

namespace olvane::ui {
namespace {

constexpr int kPadding = 8;
constexpr int kSpacing = 12;
constexpr int kSeparatorInset = 16;
constexpr qreal kSeparatorHeight = 0.5;
constexpr qreal kSeparatorOpacity = 0.1;
// The content (8 + 24 + 8) and the line, centred in the row's 44 points, on whole pixels.
constexpr int kContentTop =
    (ExceptionRowView::kHeight - 2 * kPadding - ExceptionRowView::kIconSide) / 2;

}  // namespace

class ExceptionRowView::Icon final : public QWidget {
  public:
    Icon(std::string symbol, QWidget* parent) : QWidget(parent), symbol_(std::move(symbol)) {
        setFixedSize(kIconSide, kIconSide);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    const std::optional<QImage>& image() const { return image_; }
    void setImage(const QImage& image) {
        image_ = image;
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (image_) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRectF(rect()), *image_);
            return;
        }
        SymbolPainter::paint(painter, rect(), symbol_, kSymbolSize, Theme::black());
    }

  private:
    std::string symbol_;
    std::optional<QImage> image_;
};

// The row's text on one line, cut with "…" when the row is too narrow for it.
class ExceptionRowView::Text final : public QWidget {
  public:
    explicit Text(QWidget* parent) : QWidget(parent) {
        setFont(Theme::fontRegular14());
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    const QString& text() const { return text_; }
    void setText(const QString& text) {
        text_ = text;
        updateGeometry();
        update();
    }

    QSize sizeHint() const override {
        return {fontMetrics().horizontalAdvance(text_), fontMetrics().height()};
    }
    QSize minimumSizeHint() const override { return {0, fontMetrics().height()}; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(Theme::textPrimary());
        painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter,
                         fontMetrics().elidedText(text_, Qt::ElideRight, width()));
    }

  private:
    QString text_;
};

ExceptionRowView::ExceptionRowView(std::string fallbackSymbol, const std::string& entry,
                                   bool isLast, std::function<void(const std::string&)> onDelete,
                                   QWidget* parent)
    : QWidget(parent),
      icon_(new Icon(std::move(fallbackSymbol), this)),
      text_(new Text(this)),
      delete_(new ExceptionDeleteButton(entry, std::move(onDelete), this)),
      isLast_(isLast) {
    setFixedHeight(kHeight);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kPadding, kContentTop + kPadding, kPadding,
                            kHeight - kContentTop - kPadding - kIconSide);
    row->setSpacing(kSpacing);
    row->addWidget(icon_);
    row->addWidget(text_, 1);
    row->addWidget(delete_);
}

QString ExceptionRowView::text() const {
    return text_->text();
}

void ExceptionRowView::setText(const QString& text) {
    text_->setText(text);
}

const std::optional<QImage>& ExceptionRowView::image() const {
    return icon_->image();
}

void ExceptionRowView::setImage(const QImage& image) {
    icon_->setImage(image);
}

void ExceptionRowView::setLast(bool last) {
    if (last != isLast_) {
        isLast_ = last;
        update();
    }
}

qreal ExceptionRowView::separatorOpacity() const {
    return isLast_ ? 0 : kSeparatorOpacity;
}

void ExceptionRowView::paintEvent(QPaintEvent*) {
    if (separatorOpacity() == 0) {
        return;
    }
    QPainter painter(this);
    const int top = kContentTop + 2 * kPadding + kIconSide;
    painter.fillRect(QRectF(kSeparatorInset, top, width() - 2 * kSeparatorInset, kSeparatorHeight),
                     Theme::withOpacity(Theme::black(), separatorOpacity()));
}

}  // namespace olvane::ui
