#include "app/WatchdogUnitFile.h"

namespace olvane {
namespace {

bool hasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

std::string assignment(const std::string& name, const std::filesystem::path& value) {
    return systemdQuoted(name + "=" + value.string(), false);
}

}  // namespace

std::string systemdQuoted(const std::string& word, bool commandLine) {
    std::string out = "\"";
    for (char c : word) {
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
        } else if (c == '%') {
            out += "%%";
        } else if (c == '$' && commandLine) {
            out += "$$";
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::optional<std::string> WatchdogUnitFile::render(const std::filesystem::path& agentExecutable,
                                                    const platform::Paths& paths) {
    const auto& runtimeDir = paths.sessionRuntimeDir();
    for (const auto& path : {agentExecutable, paths.dataHome(), paths.cacheHome(),
                             runtimeDir.value_or(std::filesystem::path())}) {
        if (hasLineBreak(path.string())) {
            return std::nullopt;
        }
    }
    std::string environment = "Environment=" + assignment("XDG_DATA_HOME", paths.dataHome()) + " " +
                              assignment("XDG_CACHE_HOME", paths.cacheHome());
    if (runtimeDir) {
        environment += " " + assignment("XDG_RUNTIME_DIR", *runtimeDir);
    }
    environment += "\n";
    return "[Unit]\n"
           "Description=OlvaneMac : remet l’écran en couleurs quand l’application s’arrête\n"
           "\n"
           "[Service]\n"
           "Type=simple\n"
           "ExecStart=" +
           systemdQuoted(agentExecutable.string(), true) + "\n" + environment +
           (runtimeDir ? "" : "UnsetEnvironment=XDG_RUNTIME_DIR\n") +
           "Restart=always\n"
           "RestartSec=1\n"
           "\n"
           "[Install]\n"
           "WantedBy=default.target\n";
}

}  // namespace olvane
