// The Safari extension's stand-in: the handler served over standard input and output.
#include <cstdio>

#include "model/Logger.h"
#include "platform/Paths.h"
#include "platform/linux/DiskFileSystem.h"
#include "platform/linux/ProgramLogSinks.h"
#include "platform/linux/SystemClock.h"
#include "safari-extension/DesktopEntryOpener.h"
#include "safari-extension/PageMessagePipe.h"
#include "safari-extension/SafariExtensionHandler.h"

int main() {
    using namespace olvane;
    Logger::setApplicationIdentifier(std::string(platform::Paths::kApplicationId) +
                                     ".safari-extension");
    platform::os::addProgramLogSinks("olvanemac-safari-extension");
    const auto paths = platform::Paths::fromProcessEnvironment();
    const platform::os::SystemClock clock;
    safari::DesktopEntryOpener opener(paths.applicationEntryFolders(), paths.home());
    platform::os::DiskFileSystem files;
    safari::SafariExtensionHandler handler(paths, files, clock, opener);
    safari::PageMessagePipe(handler, stdin, stdout).run();
    return 0;
}
