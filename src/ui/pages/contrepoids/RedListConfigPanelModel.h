#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "friction/FogSettings.h"
#include "friction/TurtleFactors.h"
#include "model/FrictionEffectType.h"
#include "model/RedListConfig.h"
#include "platform/Observable.h"
#include "ui/pages/contrepoids/DelayTimeUnit.h"

namespace olvane::ui {

// The rules of a target's configuration panel, one line per effect (Buée, Tortue, Délai): its
// switch, its preset or duration menu, and the custom editor behind it. It owns no stored
// data: each change is a changed copy of the target handed to `onUpdate`, and the panel shows
// whatever target the parent sets back. The editors' working values live here, as the panel's
// own state.
class RedListConfigPanelModel {
  public:
    using Update = std::function<void(const RedListConfig&)>;

    struct MenuOption {
        std::string title;
        bool isSelected;
    };

    // The number of seconds the delay editor starts from on a target without a custom delay.
    static constexpr std::int64_t kUnstoredCustomDelaySeconds = 120;

    RedListConfigPanelModel(const RedListConfig& config, Update onUpdate);
    RedListConfigPanelModel(const RedListConfigPanelModel&) = delete;
    RedListConfigPanelModel& operator=(const RedListConfigPanelModel&) = delete;

    // The target as the parent passes it; never written by the panel itself.
    platform::Observable<RedListConfig> config;

    static std::string caption(FrictionEffectType effect);
    // "Légère"…, "10s"…, "Personnalisée" / "Personnalisé": the text of the closed menu.
    static std::string label(FogIntensity intensity);
    static std::string label(TurtleIntensity intensity);
    static std::string label(const DelayDuration& duration);

    bool isEnabled(FrictionEffectType effect) const;
    // The switch: only the flag changes, so the previous choice comes back with it.
    void setEnabled(FrictionEffectType effect, bool on);

    std::string currentLabel(FrictionEffectType effect) const;
    // The presets in order, then the custom entry.
    std::vector<MenuOption> options(FrictionEffectType effect) const;
    void chooseOption(FrictionEffectType effect, std::size_t index);
    // Whether the value is custom, which offers "Configurer".
    bool isCustom(FrictionEffectType effect) const;
    // "Configurer": the editor opens on the stored custom values.
    void configure(FrictionEffectType effect);
    void applyEditor(FrictionEffectType effect);
    void cancelEditor(FrictionEffectType effect);

    void togglePicker(FrictionEffectType effect);
    // Whether the effect's option list shows.
    platform::Observable<bool>& pickerFlag(FrictionEffectType effect);
    // Whether the effect's custom editor shows.
    platform::Observable<bool>& editorFlag(FrictionEffectType effect);

    // The editors' working values: the fog and turtle editors read them when they open and
    // write them on apply; the delay editor writes them as the user edits.
    FogSettings tempFog = FogSettings::unstoredCustom();
    TurtleFactors tempTurtle = TurtleFactors::unstoredCustom();
    std::int64_t tempDelaySeconds = kUnstoredCustomDelaySeconds;
    DelayTimeUnit tempDelayUnit = DelayTimeUnit::seconds;

  private:
    void chooseCustom(FrictionEffectType effect);
    void loadEditorValues(FrictionEffectType effect);
    void update(const std::function<void(RedListConfig&)>& change);

    Update onUpdate_;
    std::array<platform::Observable<bool>, 3> showPicker_;
    std::array<platform::Observable<bool>, 3> showEditor_;
};

}  // namespace olvane::ui
