#pragma once

namespace olvane::ui {

// What the Qt application asks of the application core: its start-up once the Qt application
// exists, its shutdown from aboutToQuit. Each runs once, on the main thread.
class ApplicationLifecycle {
  public:
    virtual ~ApplicationLifecycle() = default;
    virtual void performStartup() = 0;
    virtual void performShutdown() = 0;
};

}  // namespace olvane::ui
