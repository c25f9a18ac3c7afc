#include "ui/foundation/PageFooter.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/foundation/PageFooterLink.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"

namespace olvane::ui {

PageFooter::PageFooter(QWidget* parent) : QWidget(parent) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(48, 0, 48, 0);
    column->setSpacing(0);
    column->addSpacing(32);
    auto* row = new QHBoxLayout();
    row->setSpacing(12);
    row->addStretch(1);
    const struct {
        const char* icon;
        QString label;
    } links[] = {
        {"ladybug", QStringLiteral("Signaler un bug")},
        {"lightbulb", QStringLiteral("Proposer une amélioration")},
        {"heart", QStringLiteral("Remercier avec un don")},
    };
    for (const auto& link : links) {
        if (!links_.empty()) {
            row->addWidget(themedLabel(QStringLiteral("·"), Theme::fontRegular14(), this));
        }
        links_.push_back(new PageFooterLink(link.icon, link.label, {}, this));
        row->addWidget(links_.back());
    }
    row->addStretch(1);
    column->addLayout(row);
    column->addSpacing(32);
}

}  // namespace olvane::ui
