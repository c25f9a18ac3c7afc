#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QHBoxLayout;

namespace olvane::ui {

// The keys of a shortcut as key caps: the first group pressed together, joined by "+", and, for
// a sequence, "puis" and the second group pressed one after the other, joined by "→".
class ShortcutKeysLine final : public QWidget {
    Q_OBJECT

  public:
    explicit ShortcutKeysLine(const QStringList& together, const QStringList& then = {},
                              QWidget* parent = nullptr);

    // Shows other keys in place of the present ones (another keyboard layout's captions).
    void setKeys(const QStringList& together, const QStringList& then = {});

    // The captions and joining texts in order ("Ctrl", "+", "Alt"…), for reading it back.
    QStringList texts() const;

  private:
    // "puis" and the keys pressed one after the other.
    void addSequence(QHBoxLayout* row, const QStringList& then);
};

}  // namespace olvane::ui
