#pragma once

#include <string>
#include <utility>

#include "platform/ComposedText.h"

namespace olvane::platform {

// Success, or a failure with a human description (in French where we write it ourselves), whose
// user data stays out of persistent logs.
class [[nodiscard]] Status {
  public:
    static Status success() { return Status(); }
    static Status failure(ComposedText description) { return Status(std::move(description)); }

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const ComposedText& description() const { return description_; }

  private:
    Status() = default;
    explicit Status(ComposedText description) : ok_(false), description_(std::move(description)) {}

    bool ok_ = true;
    ComposedText description_;
};

// The description of an errno value, in French for the common cases.
std::string describeErrno(int error);

// `what` followed by the description of `error`, for instance
// "Impossible d’écrire « x » : Permission refusée".
Status errnoFailure(const ComposedText& what, int error);

}  // namespace olvane::platform
