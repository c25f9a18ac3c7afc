#pragma once

#include <QString>
#include <QWidget>

class QLabel;

namespace olvane::ui {

// A setting's title (14 medium) over its description (14 regular), 4 points apart; both wrap
// when the row is narrow. A control beside it lines up with the description's line, not with
// the whole block (SubtitleAlignedRow).
class SettingTextBlock final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kGap = 4;

    SettingTextBlock(const QString& title, const QString& description, QWidget* parent = nullptr);

    QLabel* title() const { return title_; }
    QLabel* description() const { return description_; }
    // The description's vertical centre when the block is `width` wide.
    int subtitleCentre(int width) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QLabel* title_;
    QLabel* description_;
};

}  // namespace olvane::ui
