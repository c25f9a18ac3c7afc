#pragma once

#include <QColor>
#include <QImage>
#include <QVariantAnimation>
#include <QWidget>
#include <functional>
#include <vector>

#include "model/Platform.h"
#include "platform/Handle.h"

class QAbstractButton;
class QVBoxLayout;

namespace olvane {
class ContentFilterViewModel;
}

namespace olvane::ui {

class FaviconService;
class RoundedOutline;
class RuleRow;
class Separator;

// One platform of the Assainisseur page: a header that opens and closes the card, and under it,
// while open, the platform's rules with their checkboxes. The card is active while at least one
// of its rules is on: a black header with white texts and the count of rules on. Opening,
// closing and the change of activity animate over 0.2 s; the page decides what is open.
class PlatformCard final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kAnimationMs = 200;
    static constexpr int kHeaderPadding = 16;
    static constexpr int kLogoSide = 20;
    static constexpr int kChevronFrame = 24;

    PlatformCard(Platform platform, ContentFilterViewModel& viewModel, FaviconService& favicons,
                 bool isExpanded, std::function<void()> onToggleExpand, QWidget* parent = nullptr);
    ~PlatformCard() override;

    Platform platform() const { return platform_; }
    bool isExpanded() const { return expanded_; }
    void setExpanded(bool expanded);
    // At least one rule on, as the model says now.
    bool isActive() const { return active_; }

    QAbstractButton* header() const;
    QWidget* ruleList() const { return body_; }
    const std::vector<RuleRow*>& ruleRows() const { return rows_; }
    RuleRow* ruleRow(const std::string& ruleId) const;

    // What the header shows: "2/5" while active, empty otherwise; the favicon (grey) or null
    // while the platform's symbol stands in.
    QString badgeText() const;
    const QImage& logo() const { return logo_; }
    // As drawn now: they move while an animation runs.
    qreal headerCornerRadius() const;
    QColor headerFill() const;
    QColor foreground() const;
    qreal borderWidth() const;
    QColor borderColor() const;
    qreal separatorOpacity() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    class Header;

    void refresh();
    void rebuildRows();
    void refreshLogo();
    void applyProgress();
    void animate(QVariantAnimation& animation, qreal& progress, qreal target);

    Platform platform_;
    ContentFilterViewModel& viewModel_;
    FaviconService& favicons_;
    bool expanded_;
    bool active_ = false;
    // 0 closed, 1 open; 0 inactive, 1 active.
    qreal openness_;
    qreal activeness_ = 0;
    QVariantAnimation opening_;
    QVariantAnimation activation_;
    QImage logo_;
    Header* header_;
    QWidget* body_;
    QVBoxLayout* rowsLayout_;
    Separator* separator_;
    std::vector<RuleRow*> rows_;
    std::vector<QWidget*> dividers_;
    RoundedOutline* outline_;
    platform::Handle modelObservation_;
    platform::Handle faviconObservation_;
};

}  // namespace olvane::ui
