#include "ui/configurateur/ConfiguratorQuestionCard.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/SectionCardFlush.h"
#include "ui/foundation/Separator.h"
#include "ui/foundation/SymbolView.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/foundation/WrappingLabel.h"

namespace olvane::ui {
namespace {

constexpr int kBandPaddingH = 20;
constexpr int kBandPaddingV = 16;
constexpr int kBandSpacing = 8;
constexpr qreal kSymbolSize = 20;
constexpr int kCardStretch = 10000;

class QuestionBand final : public QWidget {
  public:
    using QWidget::QWidget;

  protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Theme::black()); }
};

}  // namespace

ConfiguratorQuestionCard::ConfiguratorQuestionCard(const QString& question, const std::string& icon,
                                                   QWidget* content, int cardWidth,
                                                   int questionMeasure, QWidget* parent)
    : QWidget(parent), content_(content) {
    auto* inside = new QWidget();
    auto* column = new QVBoxLayout(inside);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* band = new QuestionBand(inside);
    auto* row = new QHBoxLayout(band);
    row->setContentsMargins(kBandPaddingH, kBandPaddingV, kBandPaddingH, kBandPaddingV);
    row->setSpacing(kBandSpacing);
    row->addStretch(1);
    row->addWidget(new SymbolView(icon, kSymbolSize, Theme::white(), band), 0, Qt::AlignVCenter);
    question_ = new WrappingLabel(question, band);
    question_->setFont(Theme::fontMedium14());
    question_->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    question_->setMaximumWidth(questionMeasure);
    setTextColor(question_, Theme::white());
    row->addWidget(question_, 0, Qt::AlignVCenter);
    row->addStretch(1);
    column->addWidget(band);
    // A rule that takes its point of height and shows nothing.
    column->addWidget(new Separator(Qt::Horizontal, Theme::withOpacity(Theme::lightGray(), 0)));
    content->setParent(inside);
    column->addWidget(content);

    card_ = new SectionCardFlush(inside, this);
    card_->setMaximumWidth(cardWidth);
    card_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    // The card takes all the width up to its own; the two equal stretches centre it.
    auto* centred = new QHBoxLayout(this);
    centred->setContentsMargins(0, 0, 0, 0);
    centred->setSpacing(0);
    centred->addStretch(1);
    centred->addWidget(card_, kCardStretch);
    centred->addStretch(1);
}

QString ConfiguratorQuestionCard::question() const {
    return question_->text();
}

}  // namespace olvane::ui
