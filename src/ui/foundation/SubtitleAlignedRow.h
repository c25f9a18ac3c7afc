#pragma once

#include <QWidget>

namespace olvane::ui {

class SettingTextBlock;

// A setting's text on the leading side and its control on the trailing side, the control
// centred on the line of the description, with at least `minimumGap` between the two. As the
// row narrows, the text wraps and the control follows its description; once the text would be
// left narrower than the control, the control goes under it, still on the trailing side.
class SubtitleAlignedRow final : public QWidget {
    Q_OBJECT

  public:
    // Between the text and a control placed under it.
    static constexpr int kStackedGap = 8;

    SubtitleAlignedRow(SettingTextBlock* text, QWidget* control, int minimumGap,
                       QWidget* parent = nullptr);

    void setMinimumGap(int gap);
    int minimumGap() const { return minimumGap_; }
    SettingTextBlock* text() const { return text_; }
    QWidget* control() const { return control_; }

    // Whether the control stands under the text at this width.
    bool isStacked(int width) const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

  private:
    struct Placement {
        QRect text;
        QRect control;
    };
    Placement place(int width) const;
    QSize sizeFor(int textWidth) const;
    void layOut();

    SettingTextBlock* text_;
    QWidget* control_;
    int minimumGap_;
};

}  // namespace olvane::ui
