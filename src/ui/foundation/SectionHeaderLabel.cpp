#include "ui/foundation/SectionHeaderLabel.h"

#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/foundation/WrappingLabel.h"

namespace olvane::ui {

QLabel* sectionHeaderLabel(const QString& text, QWidget* parent) {
    auto* label = new WrappingLabel(text, parent);
    QFont font = Theme::fontSemibold14();
    font.setCapitalization(QFont::AllUppercase);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.0);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    label->setContentsMargins(16, 8, 12, 6);
    label->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    setTextColor(label, Theme::black());
    return label;
}

}  // namespace olvane::ui
