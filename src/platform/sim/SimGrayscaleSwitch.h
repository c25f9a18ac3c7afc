#pragma once

#include <optional>
#include <string>
#include <utility>

#include "platform/GrayscaleSwitch.h"
#include "platform/Signal.h"

namespace olvane::platform::sim {

// A grayscale switch held in memory; the test decides whether its library loads.
class SimGrayscaleSwitch final : public GrayscaleSwitch {
  public:
    bool load() override {
        ++loadCount_;
        return loadable_;
    }
    bool hasSetEnabled() override { return hasSymbol_; }
    std::string loadFailureText() const override { return loadFailureText_; }
    std::string lookUpFailureText() const override {
        return "Fonction du filtre N&B simulé non trouvée";
    }
    Status setEnabled(bool on) override {
        ++setCount_;
        if (!failure_.empty()) {
            return Status::failure(ComposedText(failure_));
        }
        enabled_ = on;
        if (!on) {
            keepsUserValues_ = false;
        }
        return Status::success();
    }
    bool keepsUserValues() const override { return keepsUserValues_; }
    Handle whenUserValuesMayBeGivenBack(std::function<void()> retry) override {
        if (!lockedOut_) {
            return {};
        }
        retry_ = std::move(retry);
        return Handle([this] { retry_ = nullptr; });
    }

    Handle observeSwitchOffElsewhere(std::function<void()> onSwitchedOff) override {
        return switchedOffElsewhere_.connect(
            [onSwitchedOff = std::move(onSwitchedOff)] { onSwitchedOff(); });
    }

    // The user switches the desktop's grayscale off by the desktop's own means.
    void switchOffElsewhere() {
        enabled_ = false;
        switchedOffElsewhere_.emit();
    }
    // The user's values, set aside by an earlier run, wait until a switch off gives them back.
    void setKeepsUserValues(bool keeps) { keepsUserValues_ = keeps; }
    void setLoadable(bool loadable) { loadable_ = loadable; }
    void setLoadFailureText(std::string text) { loadFailureText_ = std::move(text); }
    void setHasSymbol(bool hasSymbol) { hasSymbol_ = hasSymbol; }
    // Non-empty: every switch fails with this description and changes nothing.
    void setFailure(std::string failure) { failure_ = std::move(failure); }
    // Whether the failing switches were kept out by another program's lock.
    void setLockedOut(bool lockedOut) { lockedOut_ = lockedOut; }
    // That program lets go: the retry waiting, if any, runs.
    void letGo() {
        if (auto retry = retry_) {
            retry();
        }
    }
    // nullopt until the first call.
    std::optional<bool> enabled() const { return enabled_; }
    int loadCount() const { return loadCount_; }
    int setCount() const { return setCount_; }

  private:
    bool loadable_ = true;
    std::string loadFailureText_ = "Impossible de charger le filtre N&B simulé";
    bool hasSymbol_ = true;
    std::string failure_;
    bool lockedOut_ = false;
    std::function<void()> retry_;
    std::optional<bool> enabled_;
    bool keepsUserValues_ = false;
    int loadCount_ = 0;
    int setCount_ = 0;
    Signal<> switchedOffElsewhere_;
};

}  // namespace olvane::platform::sim
