#pragma once

#include <string>
#include <utility>

namespace olvane::platform {

// Success, or a failure with a human description (in French where we write it ourselves).
class [[nodiscard]] Status {
  public:
    static Status success() { return Status(); }
    static Status failure(std::string description) { return Status(std::move(description)); }

    bool ok() const { return ok_; }
    explicit operator bool() const { return ok_; }
    const std::string& description() const { return description_; }

  private:
    Status() = default;
    explicit Status(std::string description) : ok_(false), description_(std::move(description)) {}

    bool ok_ = true;
    std::string description_;
};

// The description of an errno value, in French for the common cases.
std::string describeErrno(int error);

// `what` followed by the description of `error`, for instance
// "Impossible d’écrire « x » : Permission non accordée".
Status errnoFailure(const std::string& what, int error);

}  // namespace olvane::platform
