#include "ui/pages/monochrome/ShortcutKeysLine.h"

#include <QHBoxLayout>
#include <QLabel>

#include "ui/foundation/KeyCap.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"

namespace olvane::ui {
namespace {

constexpr int kSpacing = 3;
constexpr int kThenPadding = 2;

QHBoxLayout* keyRow() {
    auto* row = new QHBoxLayout();
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(kSpacing);
    return row;
}

void addKeys(QHBoxLayout* row, const QStringList& keys, const QString& joint, QWidget* parent) {
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (i > 0) {
            row->addWidget(themedLabel(joint, Theme::font(12, FontWeight::medium), parent), 0,
                           Qt::AlignVCenter);
        }
        row->addWidget(new KeyCap(keys[i], parent), 0, Qt::AlignVCenter);
    }
}

}  // namespace

ShortcutKeysLine::ShortcutKeysLine(const QStringList& together, const QStringList& then,
                                   QWidget* parent)
    : QWidget(parent) {
    setKeys(together, then);
}

void ShortcutKeysLine::setKeys(const QStringList& together, const QStringList& then) {
    qDeleteAll(findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
    delete layout();
    auto* row = keyRow();
    setLayout(row);
    addKeys(row, together, QStringLiteral("+"), this);
    if (!then.isEmpty()) {
        addSequence(row, then);
    }
    // Made after the line was shown, its new parts would wait for the event loop to appear.
    for (auto* part : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        part->show();
    }
    updateGeometry();
}

void ShortcutKeysLine::addSequence(QHBoxLayout* row, const QStringList& then) {
    auto* word = themedLabel(QStringLiteral("puis"), Theme::fontRegular14(), this);
    word->setContentsMargins(kThenPadding, 0, kThenPadding, 0);
    row->addWidget(word, 0, Qt::AlignVCenter);
    auto* sequence = keyRow();
    addKeys(sequence, then, QStringLiteral("→"), this);
    row->addLayout(sequence);
}

QStringList ShortcutKeysLine::texts() const {
    QStringList texts;
    for (QObject* child : children()) {
        if (auto* cap = qobject_cast<KeyCap*>(child)) {
            texts << cap->label();
        } else if (auto* label = qobject_cast<QLabel*>(child)) {
            texts << label->text();
        }
    }
    return texts;
}

}  // namespace olvane::ui
