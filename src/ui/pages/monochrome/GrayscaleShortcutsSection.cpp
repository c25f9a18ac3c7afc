#include "ui/pages/monochrome/GrayscaleShortcutsSection.h"

#include <QVBoxLayout>

#include "grayscale/HotkeyManager.h"
#include "platform/KeyboardLayout.h"
#include "ui/foundation/DebugDimensionOverlay.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/PageSection.h"
#include "ui/foundation/Separator.h"
#include "ui/foundation/SettingTextBlock.h"
#include "ui/foundation/SubtitleAlignedRow.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/WindowWidth.h"
#include "ui/pages/monochrome/ShortcutKeysLine.h"

namespace olvane::ui {
namespace {

constexpr int kRowGap = 12;

// The modifiers HotkeyManager wants, by their names on a Linux keyboard.
const QStringList& modifiers() {
    static const QStringList keys{QStringLiteral("Ctrl"), QStringLiteral("Alt"),
                                  QStringLiteral("Super")};
    return keys;
}

// The caption the layout gives the key at `keyCode`; its AZERTY name when none can be read.
QString caption(const platform::KeyboardLayout& keyboard, std::uint16_t keyCode) {
    return QString::fromStdString(
        keyboard.keyLabel(keyCode).value_or(HotkeyManager::keyName(keyCode)));
}

SubtitleAlignedRow* shortcutRow(const QString& title, const QString& description,
                                ShortcutKeysLine* keys, int gap, const QString& debugName) {
    auto* row = new SubtitleAlignedRow(new SettingTextBlock(title, description), keys, gap);
    row->setContentsMargins(PageSection::kInset, 0, PageSection::kInset, 0);
    debugOverlay(row, debugName, DebugColor::brown);
    return row;
}

}  // namespace

GrayscaleShortcutsSection::GrayscaleShortcutsSection(WindowWidth& windowWidth,
                                                     platform::KeyboardLayout& keyboard,
                                                     QWidget* parent)
    : QWidget(parent), keyboard_(keyboard) {
    auto* column = PageSection::column(this, QStringLiteral("Raccourcis clavier"));
    const int gap = gapFor(windowWidth.get());
    keys_ = {new ShortcutKeysLine({}), new ShortcutKeysLine({})};
    showKeys();
    rows_[0] = shortcutRow(QStringLiteral("Pause 3 secondes"),
                           QStringLiteral("Appuyer sur les 4 touches en même temps"), keys_[0], gap,
                           QStringLiteral("shortcutRow1"));
    rows_[1] = shortcutRow(
        QStringLiteral("Pause 5 minutes"),
        QStringLiteral("Appuyer sur les 4 premières touches en même temps, puis successivement "
                       "sur les 4 suivantes"),
        keys_[1], gap, QStringLiteral("shortcutRow2"));

    auto* container = new QWidget(this);
    auto* rows = new QVBoxLayout(container);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(0);
    // The rows keep clear of the divider, as the effect rows of Contrepoids do.
    rows->addWidget(rows_[0]);
    rows->addWidget(new DebugSpacingIndicator(QStringLiteral("p3 (avant séparateur)"), kRowGap));
    rows->addWidget(PageSection::padded(Separator::divider(), container));
    rows->addWidget(new DebugSpacingIndicator(QStringLiteral("p3 (après séparateur)"), kRowGap));
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
    layoutChanges_ = keyboard_.observeChanges([this] { showKeys(); });
}

void GrayscaleShortcutsSection::showKeys() {
    keys_[0]->setKeys(modifiers() +
                      QStringList{caption(keyboard_, HotkeyManager::pause3SecondsKey)});
    QStringList sequence;
    for (const auto key : HotkeyManager::pause5MinSequence) {
        sequence << caption(keyboard_, key);
    }
    keys_[1]->setKeys(
        modifiers() + QStringList{caption(keyboard_, HotkeyManager::pause5MinStartKey)}, sequence);
}

int GrayscaleShortcutsSection::gapFor(double windowWidth) {
    return windowWidth > kWideWindow ? kWideGap : kNarrowGap;
}

}  // namespace olvane::ui
