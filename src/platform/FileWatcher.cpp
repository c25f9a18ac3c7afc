#include "platform/FileWatcher.h"

namespace olvane::platform {

std::string FileEvents::describe() const {
    std::string out;
    const auto add = [&](FileEvent e, const char* name) {
        if (has(e)) {
            out += out.empty() ? "" : "|";
            out += name;
        }
    };
    add(FileEvent::Write, "write");
    add(FileEvent::Rename, "rename");
    add(FileEvent::Delete, "delete");
    add(FileEvent::Create, "create");
    add(FileEvent::Lost, "lost");
    return out.empty() ? "none" : out;
}

}  // namespace olvane::platform
