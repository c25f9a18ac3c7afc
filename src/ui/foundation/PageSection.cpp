#include "ui/foundation/PageSection.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/SectionHeaderLabel.h"

namespace olvane::ui {

QVBoxLayout* PageSection::column(QWidget* section, const QString& title) {
    auto* column = new QVBoxLayout(section);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(sectionHeaderLabel(title, section), 0, Qt::AlignLeft);
    column->addWidget(gap());
    return column;
}

QWidget* PageSection::padded(QWidget* content, QWidget* parent) {
    auto* block = new QWidget(parent);
    auto* row = new QHBoxLayout(block);
    row->setContentsMargins(kInset, 0, kInset, 0);
    row->setSpacing(0);
    row->addWidget(content);
    return block;
}

DebugSpacingIndicator* PageSection::gap() {
    return new DebugSpacingIndicator(QStringLiteral("p4"), kGap);
}

}  // namespace olvane::ui
