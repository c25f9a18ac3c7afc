#pragma once

namespace olvane::ui {

// What the Qt application asks of the application core: its start-up once the Qt application
// exists, its shutdown from aboutToQuit, or the shutdown without a display when the display's
// connection broke. The start-up runs once, then one of the two shutdowns, on the main thread.
class ApplicationLifecycle {
  public:
    virtual ~ApplicationLifecycle() = default;
    virtual void performStartup() = 0;
    virtual void performShutdown() = 0;
    virtual void performShutdownWithoutDisplay() = 0;
};

}  // namespace olvane::ui
