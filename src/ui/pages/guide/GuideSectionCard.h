#pragma once

#include <QString>
#include <QVariantAnimation>
#include <QWidget>
#include <functional>

class QAbstractButton;

namespace olvane::ui {

// A card of the guide: a black header with the title and a chevron that asks to open or close
// the card, and under it, while open, the card's content on white. Opening squares the header's
// lower corners and thickens the outline (0.2 s); the caller decides what is open.
class GuideSectionCard final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kAnimationMs = 200;
    static constexpr qreal kCollapsedBorder = 1.0;
    static constexpr qreal kExpandedBorder = 1.5;

    GuideSectionCard(const QString& title, bool isExpanded, std::function<void()> onToggleExpand,
                     QWidget* content, QWidget* parent = nullptr);

    bool isExpanded() const { return expanded_; }
    void setExpanded(bool expanded);

    QAbstractButton* header() const;
    QWidget* body() const { return body_; }
    // As drawn now: they move while the card opens or closes.
    qreal headerBottomRadius() const;
    qreal borderWidth() const;
    // "chevron.up" while open, "chevron.down" while closed.
    const char* chevron() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    class Header;
    class Border;

    bool expanded_;
    // 0 closed, 1 open; the corners and the outline follow it.
    qreal openness_;
    QVariantAnimation animation_;
    Header* header_;
    QWidget* body_;
};

}  // namespace olvane::ui
