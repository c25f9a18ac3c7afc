#pragma once

#include <linux/input.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "platform/FileDescriptor.h"

namespace olvane::test {

// Input devices for machines without /dev/input or /dev/uinput. The program opens them like
// device nodes; the ioctls it sends them are answered by this file, which must be built into the
// test executable itself (it stands in for the C library's `ioctl` and `read` there, and passes
// every other descriptor on).

// A mouse: a FIFO named `event0` in `folder`, which the test writes frames into.
class FakeMouse {
  public:
    explicit FakeMouse(const std::filesystem::path& folder);
    ~FakeMouse();
    FakeMouse(const FakeMouse&) = delete;
    FakeMouse& operator=(const FakeMouse&) = delete;

    // Each is one frame; a button also stays held for the kernel's own count.
    bool move(std::int32_t dx, std::int32_t dy);
    bool button(std::uint16_t code, bool pressed);
    // Whether some reader holds it grabbed.
    bool grabbed() const;
    // As the kernel does once the mouse is pulled out: its readers are woken and every read or
    // ioctl fails.
    bool unplug();

  private:
    std::filesystem::path node_;
    platform::FileDescriptor writer_;
};

// The uinput device: a plain file that gathers the events of the virtual pointer made through it.
class FakeUinput {
  public:
    explicit FakeUinput(std::filesystem::path path);
    ~FakeUinput();
    FakeUinput(const FakeUinput&) = delete;
    FakeUinput& operator=(const FakeUinput&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // What the virtual pointer sent so far, without the frame ends.
    std::vector<input_event> events() const;
    // The sum of the values of that code sent so far.
    std::int32_t total(std::uint16_t type, std::uint16_t code) const;
    // Whether the last button event was that button going `value`.
    bool lastButtonIs(std::uint16_t code, std::int32_t value) const;

  private:
    std::filesystem::path path_;
};

}  // namespace olvane::test
