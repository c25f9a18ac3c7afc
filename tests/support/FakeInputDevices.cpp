#include "support/FakeInputDevices.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <linux/uinput.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <atomic>
#include <bitset>
#include <cerrno>
#include <cstdarg>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <utility>

namespace olvane::test {
namespace {

namespace fs = std::filesystem;

enum class Kind { mouse, uinput };

struct FakeDevice {
    Kind kind;
    bool grabbed = false;
    bool unplugged = false;
    std::bitset<KEY_CNT> held;
};

using FileId = std::pair<dev_t, ino_t>;

// Reached from the stall guard's thread as well as the test's.
struct Registry {
    std::mutex mutex;
    std::map<FileId, FakeDevice> devices;
    // Until one is, reads need no look-up.
    std::atomic<bool> anyUnplugged{false};
};

Registry& registry() {
    static Registry instance;
    return instance;
}

FileId fileIdOf(const fs::path& path) {
    struct stat st {};
    (void)::stat(path.c_str(), &st);
    return {st.st_dev, st.st_ino};
}

void enroll(const fs::path& path, Kind kind) {
    std::lock_guard lock(registry().mutex);
    registry().devices[fileIdOf(path)] = FakeDevice{.kind = kind, .grabbed = false, .held = {}};
}

void withdraw(const fs::path& path) {
    std::lock_guard lock(registry().mutex);
    registry().devices.erase(fileIdOf(path));
}

// Sets `bits` in the kernel's bit array of `size` bytes at `out`, after clearing it.
void answerBits(void* out, std::size_t size, std::initializer_list<unsigned> bits) {
    auto* bytes = static_cast<unsigned char*>(out);
    std::memset(bytes, 0, size);
    for (const unsigned bit : bits) {
        if (bit / 8 < size) {
            bytes[bit / 8] |= static_cast<unsigned char>(1U << (bit % 8));
        }
    }
}

input_event event(std::uint16_t type, std::uint16_t code, std::int32_t value) {
    input_event e{};
    e.type = type;
    e.code = code;
    e.value = value;
    return e;
}

int fail(int error) {
    errno = error;
    return -1;
}

int answerMouse(FakeDevice& mouse, unsigned long request, void* arg) {
    if (mouse.unplugged) {
        return fail(ENODEV);
    }
    if (_IOC_TYPE(request) != 'E') {
        return fail(ENOTTY);
    }
    const auto size = static_cast<std::size_t>(_IOC_SIZE(request));
    const auto number = _IOC_NR(request);
    if (number == _IOC_NR(EVIOCGRAB)) {
        const bool grab = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(arg)) != 0;
        if (grab == mouse.grabbed) {
            return fail(grab ? EBUSY : EINVAL);
        }
        mouse.grabbed = grab;
        return 0;
    }
    if (number == _IOC_NR(EVIOCGNAME(0))) {
        std::strncpy(static_cast<char*>(arg), "Souris factice", size);
        return 0;
    }
    if (number == _IOC_NR(EVIOCGKEY(0))) {
        std::memset(arg, 0, size);
        for (unsigned code = 0; code < KEY_CNT && code / 8 < size; ++code) {
            static_cast<unsigned char*>(arg)[code / 8] |=
                static_cast<unsigned char>(mouse.held[code] ? 1U << (code % 8) : 0U);
        }
        return 0;
    }
    if (number == _IOC_NR(EVIOCGBIT(EV_REL, 0))) {
        answerBits(arg, size, {REL_X, REL_Y, REL_WHEEL});
        return 0;
    }
    if (number == _IOC_NR(EVIOCGBIT(EV_KEY, 0))) {
        answerBits(arg, size, {BTN_LEFT, BTN_RIGHT, BTN_MIDDLE});
        return 0;
    }
    return fail(EINVAL);
}

// The device is made whatever it asks for; it has no node of its own.
int answerUinput(unsigned long request) {
    if (_IOC_TYPE(request) != UINPUT_IOCTL_BASE) {
        return fail(ENOTTY);
    }
    return _IOC_NR(request) == _IOC_NR(UI_GET_SYSNAME(0)) ? fail(ENOENT) : 0;
}

// The fake device `fd` is open on, under the registry's lock; null for any other file.
FakeDevice* fakeOpenOn(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return nullptr;
    }
    const auto found = registry().devices.find({st.st_dev, st.st_ino});
    return found == registry().devices.end() ? nullptr : &found->second;
}

// Whether `fd` is a fake device; if so its answer goes in `result`.
bool answerFake(int fd, unsigned long request, void* arg, int& result) {
    std::lock_guard lock(registry().mutex);
    auto* device = fakeOpenOn(fd);
    if (!device) {
        return false;
    }
    result =
        device->kind == Kind::mouse ? answerMouse(*device, request, arg) : answerUinput(request);
    return true;
}

bool isUnplugged(int fd) {
    if (!registry().anyUnplugged.load()) {
        return false;
    }
    std::lock_guard lock(registry().mutex);
    const auto* device = fakeOpenOn(fd);
    return device && device->unplugged;
}

}  // namespace

FakeMouse::FakeMouse(const fs::path& folder) : node_(folder / "event0") {
    fs::create_directories(folder);
    if (::mkfifo(node_.c_str(), 0600) == 0) {
        // Read and write: the FIFO never ends while the test holds it.
        writer_.reset(::open(node_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
        enroll(node_, Kind::mouse);
    }
}

FakeMouse::~FakeMouse() {
    withdraw(node_);
}

bool FakeMouse::move(std::int32_t dx, std::int32_t dy) {
    const input_event frame[] = {event(EV_REL, REL_X, dx), event(EV_REL, REL_Y, dy),
                                 event(EV_SYN, SYN_REPORT, 0)};
    return ::write(writer_.get(), frame, sizeof(frame)) == sizeof(frame);
}

bool FakeMouse::button(std::uint16_t code, bool pressed) {
    {
        std::lock_guard lock(registry().mutex);
        registry().devices[fileIdOf(node_)].held[code] = pressed;
    }
    const input_event frame[] = {event(EV_KEY, code, pressed ? 1 : 0),
                                 event(EV_SYN, SYN_REPORT, 0)};
    return ::write(writer_.get(), frame, sizeof(frame)) == sizeof(frame);
}

bool FakeMouse::grabbed() const {
    std::lock_guard lock(registry().mutex);
    return registry().devices[fileIdOf(node_)].grabbed;
}

bool FakeMouse::unplug() {
    {
        std::lock_guard lock(registry().mutex);
        registry().devices[fileIdOf(node_)].unplugged = true;
        registry().anyUnplugged.store(true);
    }
    return move(0, 0);
}

FakeUinput::FakeUinput(fs::path path) : path_(std::move(path)) {
    std::ofstream(path_).close();
    enroll(path_, Kind::uinput);
}

FakeUinput::~FakeUinput() {
    withdraw(path_);
}

std::vector<input_event> FakeUinput::events() const {
    std::ifstream in(path_, std::ios::binary);
    std::vector<input_event> events;
    input_event event{};
    while (in.read(reinterpret_cast<char*>(&event), sizeof(event))) {
        if (event.type != EV_SYN) {
            events.push_back(event);
        }
    }
    return events;
}

std::int32_t FakeUinput::total(std::uint16_t type, std::uint16_t code) const {
    std::int32_t sum = 0;
    for (const auto& event : events()) {
        sum += (event.type == type && event.code == code) ? event.value : 0;
    }
    return sum;
}

bool FakeUinput::lastButtonIs(std::uint16_t code, std::int32_t value) const {
    const auto all = events();
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        if (it->type == EV_KEY) {
            return it->code == code && it->value == value;
        }
    }
    return false;
}

}  // namespace olvane::test

// The executable's own definition comes before the C library's for everything it runs.
extern "C" int ioctl(int fd, unsigned long request, ...) noexcept {
    va_list args;
    va_start(args, request);
    void* arg = va_arg(args, void*);
    va_end(args);
    int result = 0;
    if (olvane::test::answerFake(fd, request, arg, result)) {
        return result;
    }
    using Ioctl = int (*)(int, unsigned long, ...);
    static const auto next = reinterpret_cast<Ioctl>(::dlsym(RTLD_NEXT, "ioctl"));
    return next(fd, request, arg);
}

extern "C" ssize_t read(int fd, void* buffer, size_t size) {
    if (olvane::test::isUnplugged(fd)) {
        errno = ENODEV;
        return -1;
    }
    using Read = ssize_t (*)(int, void*, size_t);
    static const auto next = reinterpret_cast<Read>(::dlsym(RTLD_NEXT, "read"));
    return next(fd, buffer, size);
}
