#include "ui/foundation/SettingTextBlock.h"

#include <algorithm>

#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/foundation/WrappingLabel.h"

namespace olvane::ui {
namespace {

// The width below which the text stops giving way and the row scrolls instead.
constexpr int kMinimumWidth = 120;

QLabel* blockLabel(const QString& text, const QFont& font, QWidget* parent) {
    auto* label = new WrappingLabel(text, parent);
    label->setFont(font);
    setTextColor(label, Theme::textPrimary());
    return label;
}

}  // namespace

SettingTextBlock::SettingTextBlock(const QString& title, const QString& description,
                                   QWidget* parent)
    : QWidget(parent),
      title_(blockLabel(title, Theme::fontMedium14(), this)),
      description_(blockLabel(description, Theme::fontRegular14(), this)) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

int SettingTextBlock::subtitleCentre(int width) const {
    return title_->heightForWidth(width) + kGap + description_->heightForWidth(width) / 2;
}

int SettingTextBlock::heightForWidth(int width) const {
    return title_->heightForWidth(width) + kGap + description_->heightForWidth(width);
}

QSize SettingTextBlock::sizeHint() const {
    const int width = std::max(title_->sizeHint().width(), description_->sizeHint().width());
    return {width, heightForWidth(width)};
}

// The height on one line each: a layout then asks heightForWidth() for the real one.
QSize SettingTextBlock::minimumSizeHint() const {
    return {kMinimumWidth, heightForWidth(sizeHint().width())};
}

void SettingTextBlock::resizeEvent(QResizeEvent*) {
    const int titleHeight = title_->heightForWidth(width());
    title_->setGeometry(0, 0, width(), titleHeight);
    description_->setGeometry(0, titleHeight + kGap, width(),
                              description_->heightForWidth(width()));
}

}  // namespace olvane::ui
