#include "ui/foundation/PageFrame.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {

PageFrame::PageFrame(QWidget* header, QWidget* parent)
    : PageFrame(header, QStringLiteral("pageHeaderGap"), Theme::pageHeaderGap, parent) {}

PageFrame::PageFrame(QWidget* header, const QString& gapName, qreal gap, QWidget* parent)
    : QWidget(parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(
        new DebugSpacingIndicator(QStringLiteral("pageMarginTop"), Theme::pageMarginTop));

    auto* row = new QHBoxLayout();
    row->setSpacing(0);
    row->addWidget(new DebugSpacingIndicator(QStringLiteral("pageMarginLeft"),
                                             Theme::pageMarginLeft, Qt::Horizontal));
    column_ = new QVBoxLayout();
    column_->setSpacing(0);
    header->setParent(this);
    column_->addWidget(header);
    column_->addWidget(new DebugSpacingIndicator(gapName, gap));
    row->addLayout(column_, 1);
    row->addWidget(new DebugSpacingIndicator(QStringLiteral("pageMarginRight"),
                                             Theme::pageMarginRight, Qt::Horizontal));
    outer->addLayout(row);

    outer->addWidget(
        new DebugSpacingIndicator(QStringLiteral("pageMarginBottom"), Theme::pageMarginBottom));
}

}  // namespace olvane::ui
