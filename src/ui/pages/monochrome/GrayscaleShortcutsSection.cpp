#include "ui/pages/monochrome/GrayscaleShortcutsSection.h"

#include <QVBoxLayout>

#include "ui/foundation/DebugDimensionOverlay.h"
#include "ui/foundation/PageSection.h"
#include "ui/foundation/Separator.h"
#include "ui/foundation/SettingTextBlock.h"
#include "ui/foundation/SubtitleAlignedRow.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/WindowWidth.h"
#include "ui/pages/monochrome/ShortcutKeysLine.h"

namespace olvane::ui {
namespace {

// The keys HotkeyManager listens to, by their names on a Linux keyboard; the letters are the
// positions of an AZERTY keyboard.
const QStringList& modifiers() {
    static const QStringList keys{QStringLiteral("Ctrl"), QStringLiteral("Alt"),
                                  QStringLiteral("Super")};
    return keys;
}

SubtitleAlignedRow* shortcutRow(const QString& title, const QString& description,
                                ShortcutKeysLine* keys, int gap, const QString& debugName) {
    auto* row = new SubtitleAlignedRow(new SettingTextBlock(title, description), keys, gap);
    row->setContentsMargins(PageSection::kInset, 0, PageSection::kInset, 0);
    debugOverlay(row, debugName, DebugColor::brown);
    return row;
}

}  // namespace

GrayscaleShortcutsSection::GrayscaleShortcutsSection(WindowWidth& windowWidth, QWidget* parent)
    : QWidget(parent) {
    auto* column = PageSection::column(this, QStringLiteral("Raccourcis clavier"));
    const int gap = gapFor(windowWidth.get());
    rows_[0] = shortcutRow(QStringLiteral("Pause 3 secondes"),
                           QStringLiteral("Appuyer sur les 4 touches en même temps"),
                           new ShortcutKeysLine(modifiers() + QStringList{QStringLiteral("A")}),
                           gap, QStringLiteral("shortcutRow1"));
    rows_[1] = shortcutRow(
        QStringLiteral("Pause 5 minutes"),
        QStringLiteral("Appuyer sur les 4 premières touches en même temps, puis successivement "
                       "sur les 4 suivantes"),
        new ShortcutKeysLine(
            modifiers() + QStringList{QStringLiteral("Z")},
            {QStringLiteral("P"), QStringLiteral("M"), QStringLiteral("N"), QStringLiteral("B")}),
        gap, QStringLiteral("shortcutRow2"));

    auto* container = new QWidget(this);
    auto* rows = new QVBoxLayout(container);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    rows->addWidget(rows_[0]);
    rows->addWidget(PageSection::padded(Separator::divider(), container));
    rows->addWidget(rows_[1]);
    debugOverlay(container, QStringLiteral("ShortcutsContainer"), DebugColor::indigo);
    column->addWidget(container);
    column->addWidget(PageSection::gap());
    debugOverlay(this, QStringLiteral("ShortcutsSection"), DebugColor::mint);

    observation_ = windowWidth.observe([this](double width) {
        for (auto* row : rows_) {
            row->setMinimumGap(gapFor(width));
        }
    });
}

int GrayscaleShortcutsSection::gapFor(double windowWidth) {
    return windowWidth > kWideWindow ? kWideGap : kNarrowGap;
}

}  // namespace olvane::ui
