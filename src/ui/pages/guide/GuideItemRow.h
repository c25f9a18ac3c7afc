#pragma once

#include <QString>
#include <QWidget>

namespace olvane::ui {

// One titled item inside a guide card: the title and, when there is one, its content under it.
// The last item of a card keeps less space below.
class GuideItemRow final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kPaddingH = 32;
    static constexpr int kTitlePaddingV = 8;
    static constexpr int kBottomAfterLast = 8;
    static constexpr int kBottomBetween = 12;

    GuideItemRow(const QString& title, bool hasContent, bool isLast, QWidget* content,
                 QWidget* parent = nullptr);

    QString title() const { return title_; }

  private:
    QString title_;
};

}  // namespace olvane::ui
