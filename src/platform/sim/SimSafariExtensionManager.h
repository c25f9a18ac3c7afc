#pragma once

#include <vector>

#include "platform/SafariExtensionManager.h"

namespace olvane::platform::sim {

// Answers with what the test set, at once or when released. At run time it stands for the
// Safari that Linux does not have: no state, and the reason.
class SimSafariExtensionManager final : public SafariExtensionManager {
  public:
    void getStateOfSafariExtension(const std::string& identifier, Completion completion) override;

    void setAnswer(std::optional<SafariExtensionState> state, std::optional<std::string> error) {
        state_ = state;
        error_ = std::move(error);
    }
    // While held, questions wait for releaseAnswers().
    void holdAnswers() { holding_ = true; }
    void releaseAnswers();
    int queryCount() const { return queries_; }

  private:
    std::optional<SafariExtensionState> state_;
    std::optional<std::string> error_{"Safari n’existe pas sous Linux"};
    bool holding_ = false;
    std::vector<Completion> held_;
    int queries_ = 0;
};

}  // namespace olvane::platform::sim
