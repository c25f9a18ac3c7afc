#pragma once

#include <QString>
#include <QWidget>
#include <string>

class QLabel;

namespace olvane::ui {

class SectionCardFlush;

// One question of the wizard: a flush card at most `cardWidth` wide, centred in the width it is
// given, headed by a black band with the symbol and the question in white (its lines centred,
// wrapping within `questionMeasure`), then the answer.
class ConfiguratorQuestionCard final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kCardWidth = 600;
    static constexpr int kQuestionMeasure = 500;

    ConfiguratorQuestionCard(const QString& question, const std::string& icon, QWidget* content,
                             int cardWidth = kCardWidth, int questionMeasure = kQuestionMeasure,
                             QWidget* parent = nullptr);

    QString question() const;
    QLabel* questionLabel() const { return question_; }
    SectionCardFlush* card() const { return card_; }
    QWidget* content() const { return content_; }

  private:
    QLabel* question_;
    SectionCardFlush* card_;
    QWidget* content_;
};

}  // namespace olvane::ui
