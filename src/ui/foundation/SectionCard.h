#pragma once

#include <QWidget>

namespace olvane::ui {

// The white card that holds a section's rows: rounded corners of radius 8 that also cut the
// content's own backgrounds, and a black outline 1.5 wide drawn over the content's edges. The
// content gets 20 points of margin on every side.
class SectionCard : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kInset = 20;

    explicit SectionCard(QWidget* content, QWidget* parent = nullptr);

    QWidget* content() const { return content_; }

  protected:
    SectionCard(QWidget* content, int inset, QWidget* parent);
    void paintEvent(QPaintEvent* event) override;

  private:
    QWidget* content_;
};

}  // namespace olvane::ui
