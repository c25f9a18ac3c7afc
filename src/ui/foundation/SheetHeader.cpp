#include "ui/foundation/SheetHeader.h"

#include <QHBoxLayout>
#include <QLabel>

#include "ui/foundation/HoverableIconButton.h"
#include "ui/foundation/SectionHeaderLabel.h"

namespace olvane::ui {

SheetHeader::SheetHeader(const QString& title, std::function<void()> close, QWidget* parent)
    : QWidget(parent),
      close_(new HoverableIconButton("xmark", std::move(close), Theme::black(), 14, false,
                                     QStringLiteral("Fermer"), this)) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(20, 20, 20, 20);
    row->setSpacing(8);
    row->addWidget(sectionHeaderLabel(title, this), 0, Qt::AlignVCenter);
    row->addStretch(1);
    row->addWidget(close_, 0, Qt::AlignVCenter);
}

}  // namespace olvane::ui
