#include "ui/foundation/PageHeader.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/foundation/Theme.h"

namespace olvane::ui {
namespace {

constexpr int kGap = 6;

// Wraps only when the page is too narrow for its one line; a wrapping QLabel would otherwise
// guess a width of its own and break a short text.
class DescriptionLabel final : public QLabel {
  public:
    using QLabel::QLabel;
    QSize sizeHint() const override {
        const QMargins m = contentsMargins();
        const int width = fontMetrics().horizontalAdvance(text()) + m.left() + m.right() + 1;
        return {width, heightForWidth(width)};
    }
};

void useThemeText(QLabel* label) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Theme::textPrimary());
    label->setPalette(palette);
}

template <typename Label>
Label* themedLabel(const QString& text, QFont font, QWidget* parent) {
    auto* label = new Label(text, parent);
    label->setFont(font);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    useThemeText(label);
    return label;
}

}  // namespace

PageHeader::PageHeader(const QString& title, std::optional<QString> description, QWidget* parent)
    : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addSpacing(kGap);

    QFont titleFont = Theme::fontMedium32();
    titleFont.setLetterSpacing(QFont::AbsoluteSpacing, -0.8);
    title_ = themedLabel<QLabel>(title, titleFont, this);
    title_->setAlignment(Qt::AlignHCenter);
    title_->setContentsMargins(24, 0, 24, 0);
    column->addWidget(title_);

    if (description) {
        column->addSpacing(kGap);
        description_ = themedLabel<DescriptionLabel>(*description, Theme::fontRegular14(), this);
        description_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        description_->setAlignment(Qt::AlignLeft);
        description_->setContentsMargins(16, 0, 0, 0);
        // The block is centred; its lines keep to its leading edge.
        auto* centring = new QHBoxLayout();
        centring->addStretch(1);
        centring->addWidget(description_, 0);
        centring->addStretch(1);
        column->addLayout(centring);
    }
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
}

QString PageHeader::title() const {
    return title_->text();
}

std::optional<QString> PageHeader::description() const {
    if (!description_) {
        return std::nullopt;
    }
    return description_->text();
}

}  // namespace olvane::ui
