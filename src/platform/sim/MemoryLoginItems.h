#pragma once

#include <string>

#include "platform/LoginItems.h"

namespace olvane::platform::sim {

// A login item in memory whose status and failures the test sets.
class MemoryLoginItems final : public LoginItems {
  public:
    ServiceStatus status() override { return status_; }
    Status registerApplication() override;
    Status unregisterApplication() override;
    Removal removeEveryEntry() override;

    void setStatus(ServiceStatus status) { status_ = status; }
    // A non-empty description makes the next calls fail with it.
    void failWith(std::string description) { failure_ = std::move(description); }
    int registerCount() const { return registerCount_; }
    int unregisterCount() const { return unregisterCount_; }

  private:
    ServiceStatus status_ = ServiceStatus::NotRegistered;
    std::string failure_;
    int registerCount_ = 0;
    int unregisterCount_ = 0;
};

}  // namespace olvane::platform::sim
