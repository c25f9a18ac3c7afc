#include "ui/foundation/PageHeader.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/foundation/DebugDimensionOverlay.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/foundation/WrappingLabel.h"

namespace olvane::ui {
namespace {

constexpr int kGap = 6;
// The name the gaps above the title and the description carry in spacing debug.
constexpr const char* kGapName = "p1.5";

template <typename Label>
Label* themedLabel(const QString& text, QFont font, QWidget* parent) {
    auto* label = new Label(text, parent);
    label->setFont(font);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    setTextColor(label, Theme::textPrimary());
    return label;
}

}  // namespace

PageHeader::PageHeader(const QString& title, std::optional<QString> description, QWidget* parent)
    : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(
        new DebugSpacingIndicator(QString::fromLatin1(kGapName), kGap, Qt::Vertical, this));

    QFont titleFont = Theme::fontMedium32();
    titleFont.setLetterSpacing(QFont::AbsoluteSpacing, -0.8);
    title_ = themedLabel<QLabel>(title, titleFont, this);
    title_->setAlignment(Qt::AlignHCenter);
    debugOverlay(title_, QStringLiteral("Title"), DebugColor::green);
    auto* titleRow = new QHBoxLayout();
    titleRow->setContentsMargins(24, 0, 24, 0);
    titleRow->addWidget(title_);
    column->addLayout(titleRow);

    if (description) {
        column->addWidget(
            new DebugSpacingIndicator(QString::fromLatin1(kGapName), kGap, Qt::Vertical, this));
        description_ = themedLabel<WrappingLabel>(*description, Theme::fontRegular14(), this);
        description_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        description_->setAlignment(Qt::AlignLeft);
        description_->setContentsMargins(16, 0, 0, 0);
        debugOverlay(description_, QStringLiteral("Description"), DebugColor::mint);
        // The block is centred; its lines keep to its leading edge.
        auto* centring = new QHBoxLayout();
        centring->addStretch(1);
        centring->addWidget(description_, 0);
        centring->addStretch(1);
        column->addLayout(centring);
    }
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    debugOverlay(this, QStringLiteral("PageHeader"), DebugColor::blue);
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
