#pragma once

#include <QWidget>
#include <array>
#include <memory>

#include "model/FrictionEffectType.h"
#include "model/RedListConfig.h"
#include "platform/Handle.h"
#include "ui/pages/contrepoids/RedListConfigPanelModel.h"

class QAbstractButton;

namespace olvane::ui {

class MenuDropdownButton;
class ToggleSwitchView;

// The block under an expanded target row: one line per effect, Buée, Tortue then Délai, each
// with its switch and, while the effect is on, its preset or duration menu and the custom
// editor behind it. Every change goes to `onUpdate`; the panel shows the target the row sets
// back.
class RedListConfigPanel final : public QWidget {
    Q_OBJECT

  public:
    RedListConfigPanel(const RedListConfig& config, RedListConfigPanelModel::Update onUpdate,
                       bool isParentInverted, QWidget* parent = nullptr);
    ~RedListConfigPanel() override;

    RedListConfigPanelModel& model() { return model_; }
    void setConfig(const RedListConfig& config) { model_.config.set(config); }

    ToggleSwitchView* toggle(FrictionEffectType effect) const;
    MenuDropdownButton* menuButton(FrictionEffectType effect) const;
    QAbstractButton* configureButton(FrictionEffectType effect) const;
    // The menu's caption, button and "Configurer", faded out while the effect is off.
    QWidget* menuGroup(FrictionEffectType effect) const;
    // The option list or the editor while it shows.
    QWidget* optionList(FrictionEffectType effect) const;
    QWidget* editor(FrictionEffectType effect) const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    class EffectLine;

    RedListConfigPanelModel model_;
    std::array<EffectLine*, 3> lines_{};
    platform::Handle observation_;
};

}  // namespace olvane::ui
