#pragma once

#include <filesystem>
#include <string_view>

#include "host/OutputGate.h"
#include "model/exchange/ExchangeFiles.h"
#include "platform/FileSystem.h"
#include "platform/Status.h"

namespace olvane::host {

// Writes the command, site and health files into the data folder, in place, each under the
// output gate. The folder is not created here.
class HostFiles {
  public:
    HostFiles(platform::FileSystem& files, std::filesystem::path dataFolder, OutputGate& gate);

    const std::filesystem::path& dataFolder() const { return dataFolder_; }

    platform::Status writeGrayscaleCommand(const exchange::GrayscaleCommand& command);
    platform::Status writeFullscreenCommand(const exchange::FullscreenCommand& command);
    // `browser` is one the host serves; nothing else may name a file.
    platform::Status writeSiteContext(std::string_view browser, const exchange::SiteContext& site);
    platform::Status writeHealth(const exchange::HealthRecord& record);

  private:
    platform::Status write(const std::string& name, const Json& object);

    platform::FileSystem& files_;
    std::filesystem::path dataFolder_;
    OutputGate& gate_;
};

}  // namespace olvane::host
