#pragma once

#include <utility>

#include "platform/RunLoop.h"
#include "platform/SafariApplication.h"

namespace olvane::platform::os {

// There is no Safari on Linux: every request fails at once, the answer coming on the loop as
// it would from Safari.
class NoSafariApplication final : public SafariApplication {
  public:
    static constexpr const char* kUnavailable = "Safari n'est pas disponible sur ce système";

    explicit NoSafariApplication(RunLoop& loop) : loop_(loop) {}

    void showPreferencesForExtension(const std::string&, Completion completion) override {
        loop_.postFromAnyThread(
            [completion = std::move(completion)] { completion(std::string(kUnavailable)); });
    }

  private:
    RunLoop& loop_;
};

}  // namespace olvane::platform::os
