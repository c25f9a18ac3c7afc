#include "ui/pages/contrepoids/RedListConfigPanelModel.h"

#include "friction/EffectLabels.h"

namespace olvane::ui {
namespace {

constexpr std::array<FogIntensity, 4> kFogPresets{FogIntensity::light, FogIntensity::medium,
                                                  FogIntensity::strong, FogIntensity::intense};
constexpr std::array<TurtleIntensity, 4> kTurtlePresets{
    TurtleIntensity::light, TurtleIntensity::medium, TurtleIntensity::strong,
    TurtleIntensity::extreme};
constexpr std::array<DelayDuration, 5> kDelayPresets{
    DelayDuration::preset10s(), DelayDuration::preset30s(), DelayDuration::preset45s(),
    DelayDuration::preset1min(), DelayDuration::preset1h()};

std::size_t indexOf(FrictionEffectType effect) {
    return static_cast<std::size_t>(effect);
}

template <typename Value, std::size_t N>
std::vector<RedListConfigPanelModel::MenuOption> menu(const std::array<Value, N>& presets,
                                                      const Value& current, bool isCustom,
                                                      const std::string& customTitle) {
    std::vector<RedListConfigPanelModel::MenuOption> options;
    for (const Value& preset : presets) {
        options.push_back({RedListConfigPanelModel::label(preset), !isCustom && preset == current});
    }
    options.push_back({customTitle, isCustom});
    return options;
}

}  // namespace

RedListConfigPanelModel::RedListConfigPanelModel(const RedListConfig& target, Update onUpdate)
    : config(target), onUpdate_(std::move(onUpdate)) {}

std::string RedListConfigPanelModel::caption(FrictionEffectType effect) {
    return effect == FrictionEffectType::delay ? "Durée :" : "Intensité :";
}

std::string RedListConfigPanelModel::label(FogIntensity intensity) {
    return std::string(olvane::label(intensity));
}

std::string RedListConfigPanelModel::label(TurtleIntensity intensity) {
    return std::string(olvane::label(intensity));
}

std::string RedListConfigPanelModel::label(const DelayDuration& duration) {
    static constexpr std::array<const char*, 5> presets{"10s", "30s", "45s", "1min", "1h"};
    if (duration.isCustom()) {
        return "Personnalisé";
    }
    return presets[static_cast<std::size_t>(duration.type())];
}

bool RedListConfigPanelModel::isEnabled(FrictionEffectType effect) const {
    switch (effect) {
        case FrictionEffectType::fog:
            return config().isFogEnabled;
        case FrictionEffectType::turtle:
            return config().isTurtleEnabled;
        case FrictionEffectType::delay:
            break;
    }
    return config().isDelayEnabled;
}

void RedListConfigPanelModel::setEnabled(FrictionEffectType effect, bool on) {
    update([effect, on](RedListConfig& target) {
        switch (effect) {
            case FrictionEffectType::fog:
                target.isFogEnabled = on;
                break;
            case FrictionEffectType::turtle:
                target.isTurtleEnabled = on;
                break;
            case FrictionEffectType::delay:
                target.isDelayEnabled = on;
                break;
        }
    });
}

std::string RedListConfigPanelModel::currentLabel(FrictionEffectType effect) const {
    switch (effect) {
        case FrictionEffectType::fog:
            return label(config().fogIntensity);
        case FrictionEffectType::turtle:
            return label(config().turtleIntensity);
        case FrictionEffectType::delay:
            break;
    }
    return label(config().delayDuration);
}

std::vector<RedListConfigPanelModel::MenuOption> RedListConfigPanelModel::options(
    FrictionEffectType effect) const {
    const RedListConfig& target = config();
    switch (effect) {
        case FrictionEffectType::fog:
            return menu(kFogPresets, target.fogIntensity, isCustom(effect),
                        label(FogIntensity::custom));
        case FrictionEffectType::turtle:
            return menu(kTurtlePresets, target.turtleIntensity, isCustom(effect),
                        label(TurtleIntensity::custom));
        case FrictionEffectType::delay:
            break;
    }
    return menu(kDelayPresets, target.delayDuration, isCustom(effect),
                label(DelayDuration::custom(0)));
}

bool RedListConfigPanelModel::isCustom(FrictionEffectType effect) const {
    switch (effect) {
        case FrictionEffectType::fog:
            return config().fogIntensity == FogIntensity::custom;
        case FrictionEffectType::turtle:
            return config().turtleIntensity == TurtleIntensity::custom;
        case FrictionEffectType::delay:
            break;
    }
    return config().delayDuration.isCustom();
}

void RedListConfigPanelModel::chooseOption(FrictionEffectType effect, std::size_t index) {
    const std::size_t presets = options(effect).size() - 1;
    if (index > presets) {
        return;
    }
    if (index == presets) {
        chooseCustom(effect);
        return;
    }
    update([effect, index](RedListConfig& target) {
        switch (effect) {
            case FrictionEffectType::fog:
                target.fogIntensity = kFogPresets[index];
                break;
            case FrictionEffectType::turtle:
                target.turtleIntensity = kTurtlePresets[index];
                break;
            case FrictionEffectType::delay:
                target.delayDuration = kDelayPresets[index];
                break;
        }
    });
    pickerFlag(effect).set(false);
}

// Fog and turtle become custom at once, with their stored values (possibly none); the delay
// only once its editor is applied.
void RedListConfigPanelModel::chooseCustom(FrictionEffectType effect) {
    loadEditorValues(effect);
    if (effect == FrictionEffectType::fog) {
        update([](RedListConfig& target) { target.fogIntensity = FogIntensity::custom; });
    } else if (effect == FrictionEffectType::turtle) {
        update([](RedListConfig& target) { target.turtleIntensity = TurtleIntensity::custom; });
    }
    pickerFlag(effect).set(false);
    editorFlag(effect).set(true);
}

void RedListConfigPanelModel::configure(FrictionEffectType effect) {
    loadEditorValues(effect);
    editorFlag(effect).set(true);
}

void RedListConfigPanelModel::loadEditorValues(FrictionEffectType effect) {
    const RedListConfig& target = config();
    switch (effect) {
        case FrictionEffectType::fog:
            tempFog = FogSettings::storedCustom(target);
            break;
        case FrictionEffectType::turtle:
            tempTurtle = TurtleFactors::storedCustom(target);
            break;
        case FrictionEffectType::delay:
            tempDelaySeconds = target.delayDuration.isCustom() ? target.delayDuration.seconds()
                                                               : kUnstoredCustomDelaySeconds;
            tempDelayUnit = DelayTimeUnit::seconds;
            break;
    }
}

void RedListConfigPanelModel::applyEditor(FrictionEffectType effect) {
    update([this, effect](RedListConfig& target) {
        switch (effect) {
            case FrictionEffectType::fog:
                target.customFogClearRadius = tempFog.clearRadius;
                target.customFogRegenerationDuration = tempFog.regenerationDuration;
                target.customFogOpacity = tempFog.fogOpacity;
                break;
            case FrictionEffectType::turtle:
                target.customTurtleMouseFactor = tempTurtle.mouse;
                target.customTurtleScrollFactor = tempTurtle.scroll;
                break;
            case FrictionEffectType::delay:
                target.delayDuration = DelayDuration::custom(tempDelaySeconds);
                break;
        }
    });
    editorFlag(effect).set(false);
}

void RedListConfigPanelModel::cancelEditor(FrictionEffectType effect) {
    editorFlag(effect).set(false);
}

void RedListConfigPanelModel::togglePicker(FrictionEffectType effect) {
    auto& flag = pickerFlag(effect);
    flag.set(!flag());
}

platform::Observable<bool>& RedListConfigPanelModel::pickerFlag(FrictionEffectType effect) {
    return showPicker_[indexOf(effect)];
}

platform::Observable<bool>& RedListConfigPanelModel::editorFlag(FrictionEffectType effect) {
    return showEditor_[indexOf(effect)];
}

void RedListConfigPanelModel::update(const std::function<void(RedListConfig&)>& change) {
    RedListConfig copy = config();
    change(copy);
    if (onUpdate_) {
        onUpdate_(copy);
    }
}

}  // namespace olvane::ui
