#include "ui/pages/reglages/UninstallPhrase.h"

#include <QStringList>

namespace olvane::ui {
namespace {

bool separates(char32_t c) {
    return QChar::isSpace(c) || QChar::isPunct(c);
}

}  // namespace

QString UninstallPhrase::normalizedPhrase(const QString& text) {
    QString bare;
    for (const char32_t c : text.normalized(QString::NormalizationForm_D).toUcs4()) {
        if (!QChar::isMark(c)) {
            bare.append(QChar::fromUcs4(c));
        }
    }
    // Case folding is the same in every locale ("I" folds to "i" under a Turkish one too).
    const QString folded = bare.toCaseFolded();
    QStringList words;
    QString word;
    for (const char32_t c : folded.toUcs4()) {
        if (separates(c)) {
            if (!word.isEmpty()) {
                words << std::exchange(word, QString());
            }
        } else {
            word.append(QChar::fromUcs4(c));
        }
    }
    if (!word.isEmpty()) {
        words << word;
    }
    return words.join(QLatin1Char(' '));
}

bool UninstallPhrase::isPhraseMatching(const QString& typed) {
    return normalizedPhrase(typed).normalized(QString::NormalizationForm_C) ==
           normalizedPhrase(requiredPhrase()).normalized(QString::NormalizationForm_C);
}

}  // namespace olvane::ui
