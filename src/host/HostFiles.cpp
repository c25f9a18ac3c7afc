#include "host/HostFiles.h"

namespace olvane::host {

HostFiles::HostFiles(platform::FileSystem& files, std::filesystem::path dataFolder,
                     OutputGate& gate)
    : files_(files), dataFolder_(std::move(dataFolder)), gate_(gate) {}

platform::Status HostFiles::write(const std::string& name, const Json& object) {
    return gate_.hold(
        [&] { return exchange::writeExchangeFile(files_, dataFolder_ / name, object); });
}

platform::Status HostFiles::writeGrayscaleCommand(const exchange::GrayscaleCommand& command) {
    return write(exchange::kGrayscaleCommandFile, command.toJson());
}

platform::Status HostFiles::writeFullscreenCommand(const exchange::FullscreenCommand& command) {
    return write(exchange::kFullscreenCommandFile, command.toJson());
}

platform::Status HostFiles::writeSiteContext(std::string_view browser,
                                             const exchange::SiteContext& site) {
    return write(exchange::siteFileName(browser), site.toJson());
}

platform::Status HostFiles::writeHealth(const exchange::HealthRecord& record) {
    return write(exchange::healthFileName(record.browser), record.toJson());
}

}  // namespace olvane::host
