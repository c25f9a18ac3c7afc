#pragma once

#include <QWidget>
#include <array>

#include "app/AppState.h"

class QLabel;

namespace olvane::ui {

class CTAButton;
class DebugSpacingIndicator;
class LogoView;
class ModuleCard;

// The home page: the logo, the welcome, the call to the guided configuration and a card per
// module. Its only effect is to change the selected page, directly, without asking the
// navigation guard. The hero block follows the page's size through one scale; the separator,
// the cards and the button keep their sizes.
class AccueilView final : public QWidget {
    Q_OBJECT

  public:
    explicit AccueilView(AppState& appState, QWidget* parent = nullptr);

    double scale() const { return scale_; }
    LogoView* logo() const { return logo_; }
    QLabel* title() const { return title_; }
    QLabel* subtitle() const { return subtitle_; }
    CTAButton* ctaButton() const { return cta_; }
    const std::array<ModuleCard*, 3>& cards() const { return cards_; }

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct ScaledGap {
        DebugSpacingIndicator* gap;
        qreal restingValue;
    };

    QWidget* buildHero();
    QWidget* buildSeparator();
    QWidget* buildCards();
    DebugSpacingIndicator* scaledGap(const QString& name, qreal restingValue);
    void go(NavigationItem target);
    void applyScale(double scale);

    AppState& appState_;
    double scale_ = 0;
    std::vector<ScaledGap> scaledGaps_;
    LogoView* logo_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* subtitle_ = nullptr;
    CTAButton* cta_ = nullptr;
    std::array<ModuleCard*, 3> cards_{};
};

}  // namespace olvane::ui
