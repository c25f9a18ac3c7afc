#include "ui/pages/guide/GuideItemRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/foundation/DebugDimensionOverlay.h"
#include "ui/foundation/DebugPaddingOverlay.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"

namespace olvane::ui {

GuideItemRow::GuideItemRow(const QString& title, bool hasContent, bool isLast, QWidget* content,
                           QWidget* parent)
    : QWidget(parent), title_(title) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* titleRow = new QWidget();
    auto* row = new QHBoxLayout(titleRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    auto* label = themedLabel(title, Theme::fontMedium14(), titleRow);
    debugOverlay(label, QStringLiteral("ItemTitle"), DebugColor::cyan);
    row->addWidget(label);
    row->addStretch(1);
    auto* horizontal = new DebugPaddingOverlay(titleRow, QMarginsF(kPaddingH, 0, kPaddingH, 0),
                                               QStringLiteral("row.padH"));
    column->addWidget(new DebugPaddingOverlay(horizontal,
                                              QMarginsF(0, kTitlePaddingV, 0, kTitlePaddingV),
                                              QStringLiteral("row.padV"), this));

    if (hasContent && content) {
        auto* block = new QWidget(this);
        auto* inner = new QVBoxLayout(block);
        inner->setContentsMargins(kPaddingH, 0, kPaddingH,
                                  isLast ? kBottomAfterLast : kBottomBetween);
        inner->setSpacing(0);
        content->setParent(block);
        inner->addWidget(content);
        debugOverlay(block, QStringLiteral("ItemContent"), DebugColor::mint);
        column->addWidget(block);
    } else if (content) {
        content->setParent(this);
        content->hide();
    }
    debugOverlay(this, QStringLiteral("GuideItemRow"), DebugColor::orange);
}

}  // namespace olvane::ui
