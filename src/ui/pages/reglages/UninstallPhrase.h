#pragma once

#include <QString>

namespace olvane::ui {

// The sentence retyped before an uninstall, and how a typed text is held against it: case,
// accents, spaces and punctuation count for nothing, the words do. Nothing here depends on the
// user's locale.
class UninstallPhrase {
  public:
    static QString requiredPhrase() { return QStringLiteral("Oui, je veux désinstaller Olvane"); }

    // Accents dropped, case folded, the words that white space and punctuation separate joined
    // with one space.
    static QString normalizedPhrase(const QString& text);
    static bool isPhraseMatching(const QString& typed);
};

}  // namespace olvane::ui
