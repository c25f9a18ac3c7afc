#pragma once

#include <filesystem>
#include <memory>
#include <optional>

#include "platform/GrayscaleSwitch.h"
#include "platform/Paths.h"
#include "platform/linux/KWinVersion.h"
#include "platform/linux/SavedUserValues.h"
#include "platform/linux/SessionBus.h"

namespace olvane::platform::os {

// The desktop's grayscale on KDE Plasma: the monochrome mode of KWin's colour-blindness
// correction effect, set in kwinrc and applied by loading the effect for this session only
// (never through [Plugins], which would bring it back at every login). Before the first switch
// on, the user's own lines of the effect's group and whether the effect was loaded are saved;
// switching off puts them back. Every other line of kwinrc stays as it was.
class KWinColourFilterSwitch final : public GrayscaleSwitch {
  public:
    // Before it, mode 3 of the effect is a red-weak tint rather than monochrome.
    static constexpr KWinVersion kFirstWithMonochrome{6, 6, 0};

    // The version the running KWin states; nullopt when no KWin answers on the bus.
    static std::optional<KWinVersion> runningVersion(SessionBus& bus);

    // kwinrc in the configuration folder; the user's own values wait in the data folder while
    // the screen is grey.
    explicit KWinColourFilterSwitch(const Paths& paths);

    // Connects to the session bus; true when KWin answers with a version that has the mode.
    bool load() override;
    bool hasSetEnabled() override { return bus_ != nullptr; }
    std::string loadFailureText() const override {
        return "Impossible de charger l’effet de correction des couleurs de KWin";
    }
    std::string lookUpFailureText() const override {
        return "Connexion de KWin sur le bus de session non trouvée";
    }
    Status setEnabled(bool on) override;

  private:
    Status switchOn();
    Status switchOff();
    Status saveUserValues();
    // Writes kwinrc when `text` differs from what it holds, then tells KWin it changed.
    Status rewriteKwinrc(const std::filesystem::path& kwinrc, const std::string& text,
                         bool removeWhenEmpty);
    std::optional<bool> effectLoaded(ComposedText* error);

    std::filesystem::path kwinrc_;
    SavedUserValues saved_;
    std::unique_ptr<SessionBus> bus_;
};

}  // namespace olvane::platform::os
