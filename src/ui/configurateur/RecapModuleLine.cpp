#include "ui/configurateur/RecapModuleLine.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/foundation/SymbolView.h"
#include "ui/foundation/TabularLabel.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"

namespace olvane::ui {
namespace {

constexpr int kPaddingH = 20;
constexpr int kPaddingV = 16;
constexpr int kSpacing = 12;
constexpr int kSymbolSize = 24;
constexpr int kNameSpacing = 8;
constexpr int kLogoSpacing = 4;

}  // namespace

RecapModuleLine::RecapModuleLine(const std::string& icon, const QString& name,
                                 const QString& countText, std::vector<RecapMonoIcon::Source> logos,
                                 int maxVisibleLogos, RecapMonoIcon::Services services,
                                 QWidget* parent)
    : QWidget(parent), maxVisibleLogos_(std::max(0, maxVisibleLogos)), services_(services) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(kPaddingH, kPaddingV, kPaddingH, kPaddingV);
    row->setSpacing(kSpacing);
    row->addWidget(new SymbolView(icon, kSymbolSize, Theme::black(), this), 0, Qt::AlignVCenter);

    auto* column = new QVBoxLayout();
    column->setSpacing(kNameSpacing);
    name_ = themedLabel(name, Theme::fontMedium14(), this);
    column->addWidget(name_, 0, Qt::AlignLeft);
    logoRow_ = new QWidget(this);
    logoLayout_ = new QHBoxLayout(logoRow_);
    logoLayout_->setContentsMargins(0, 0, 0, 0);
    logoLayout_->setSpacing(kLogoSpacing);
    overflow_ = new TabularLabel({}, Theme::fontRegular14(), logoRow_);
    logoLayout_->addWidget(overflow_, 0, Qt::AlignVCenter);
    logoLayout_->addStretch(1);
    column->addWidget(logoRow_);
    row->addLayout(column);
    row->addStretch(1);
    count_ = themedLabel(countText, Theme::fontMedium14(), this);
    row->addWidget(count_, 0, Qt::AlignVCenter);

    setLogos(std::move(logos));
}

void RecapModuleLine::setCountText(const QString& countText) {
    count_->setText(countText);
}

void RecapModuleLine::setLogos(std::vector<RecapMonoIcon::Source> logos) {
    logos_ = std::move(logos);
    const auto shown = static_cast<std::size_t>(visibleCount(logos_.size(), maxVisibleLogos_));
    while (icons_.size() > shown) {
        delete icons_.back();
        icons_.pop_back();
    }
    for (std::size_t i = 0; i < shown; ++i) {
        if (i < icons_.size() && icons_[i]->source() == logos_[i]) {
            continue;
        }
        auto* icon = new RecapMonoIcon(logos_[i], kLogoSize, services_, logoRow_);
        if (i < icons_.size()) {
            delete std::exchange(icons_[i], icon);
        } else {
            icons_.push_back(icon);
        }
        logoLayout_->insertWidget(static_cast<int>(i), icon, 0, Qt::AlignVCenter);
    }
    overflow_->setText(overflowText(logos_.size(), maxVisibleLogos_));
    overflow_->setVisible(logos_.size() > shown);
    logoRow_->setVisible(!logos_.empty());
}

QString RecapModuleLine::name() const {
    return name_->text();
}

QString RecapModuleLine::countText() const {
    return count_->text();
}

QString RecapModuleLine::overflowText() const {
    return overflowText(logos_.size(), maxVisibleLogos_);
}

int RecapModuleLine::visibleCount(std::size_t count, int maxVisible) {
    return static_cast<int>(std::min<std::size_t>(count, std::max(0, maxVisible)));
}

QString RecapModuleLine::overflowText(std::size_t count, int maxVisible) {
    const auto hidden = count - static_cast<std::size_t>(visibleCount(count, maxVisible));
    return hidden == 0 ? QString() : QStringLiteral("+%1").arg(hidden);
}

}  // namespace olvane::ui
