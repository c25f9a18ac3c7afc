#pragma once

#include <QImage>
#include <QString>
#include <QVariantAnimation>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "model/BrowserType.h"
#include "model/ExtensionStatus.h"

class QAbstractButton;
class QLabel;

namespace olvane::ui {

class GuideStepRow;
class InfoTooltip;
class RoundedOutline;
class StatusDot;

// One browser on the Extensions page: its icon, name and extension status and, while the
// extension is not connected, a guide of three steps that the user may open, whose first step
// links to the extension's store (or to Safari's preferences). The list owns the state and sets
// it here; opening and closing the guide animate over 0.2 s.
class BrowserExtensionCard final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kAnimationMs = 200;

    struct GuideStep {
        QString text;
        // Drawn as a link where it occurs in `text`.
        std::optional<QString> linkPhrase;
    };
    static const std::vector<GuideStep>& guideSteps(BrowserType browser);
    // "Extension connectée", "Extension non connectée", "Connexion…".
    static QString statusText(ExtensionStatus status);

    // `appIcon` null: the "globe" symbol stands in.
    BrowserExtensionCard(BrowserType browser, ExtensionStatus status, const QImage& appIcon,
                         bool isGuideExpanded, std::function<void()> onToggleGuide,
                         std::function<void()> onPrimaryAction, QWidget* parent = nullptr);
    ~BrowserExtensionCard() override;

    BrowserType browser() const { return browser_; }
    ExtensionStatus status() const { return status_; }
    bool isGuideExpanded() const { return guideExpanded_; }
    // The guide shows: not connected and expanded.
    bool isOpen() const;

    // A change of status or icon shows at once; opening or closing the guide animates.
    void setStatus(ExtensionStatus status);
    void setAppIcon(const QImage& appIcon);
    void setGuideExpanded(bool expanded);

    QWidget* headerRow() const { return headerRow_; }
    QAbstractButton* guideToggle() const;
    QWidget* guide() const { return guide_; }
    const std::vector<GuideStepRow*>& stepRows() const { return stepRows_; }
    QLabel* statusLabel() const { return statusLabel_; }
    StatusDot* statusDot() const { return statusDot_; }
    InfoTooltip* infoTooltip() const { return info_; }
    // As drawn now: they move while the guide opens or closes.
    qreal headerBottomRadius() const;
    qreal borderWidth() const;
    QColor headerFill() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    class Header;
    class Icon;
    class GuideToggle;

    QWidget* buildHeaderRow();
    void applyStatus();
    void applyOpenness();
    void setOpenness(qreal target, bool animated);

    BrowserType browser_;
    ExtensionStatus status_;
    QImage appIcon_;
    bool guideExpanded_;
    // 0 closed, 1 open.
    qreal openness_;
    QVariantAnimation opening_;
    Header* header_;
    QWidget* headerRow_ = nullptr;
    Icon* icon_ = nullptr;
    QLabel* name_ = nullptr;
    StatusDot* statusDot_ = nullptr;
    QLabel* statusLabel_ = nullptr;
    InfoTooltip* info_ = nullptr;
    GuideToggle* guideToggle_;
    QWidget* guide_;
    std::vector<GuideStepRow*> stepRows_;
    RoundedOutline* outline_;
};

}  // namespace olvane::ui
