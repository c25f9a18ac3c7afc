// Arbitrary bytes as what Safari's side sends the extension stand-in, with an arbitrary
// rules.json in the shared container. Every reply is a whole frame of one of the two kinds the
// page side reads; only the application is ever opened; only the exchange files appear in the
// container, and a grayscale command there says "enable" or "disable".
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "model/exchange/ExchangeFiles.h"
#include "model/exchange/FrameCodec.h"
#include "platform/Paths.h"
#include "platform/sim/ManualRunLoop.h"
#include "platform/sim/MemoryFileSystem.h"
#include "safari-extension/ApplicationOpener.h"
#include "safari-extension/PageMessagePipe.h"
#include "safari-extension/SafariExtensionHandler.h"

namespace {

namespace fs = std::filesystem;
using namespace olvane;
using fuzz::check;

const std::set<std::string> kContainerNames = {"rules.json", "grayscale-command.json",
                                               "fullscreen-command.json", "safari-site.json"};

const platform::Paths& paths() {
    // Short folders: the memory file system makes each of their levels for every input.
    static const platform::Paths made([](const std::string& name) -> std::optional<std::string> {
        if (name == "HOME") {
            return "/home";
        }
        return name == "XDG_DATA_HOME" ? std::optional<std::string>("/data") : std::nullopt;
    });
    return made;
}

class RecordingOpener final : public safari::ApplicationOpener {
  public:
    std::optional<fs::path> urlForApplication(std::string_view applicationId) const override {
        check(applicationId == platform::Paths::kApplicationId);
        return fs::path("/usr/share/applications/so.olvane.mac.desktop");
    }
    platform::Status openApplication(const fs::path& url) override {
        check(url == "/usr/share/applications/so.olvane.mac.desktop");
        return platform::Status::success();
    }
};

void checkReply(const Json& reply) {
    if (reply.contains("event")) {
        check(reply ==
              Json{{"event", "toolbarItemValidated"}, {"enabled", true}, {"badgeText", ""}});
        return;
    }
    check(reply.at("name") == "PAGE_CONFIG");
    const auto& info = reply.at("userInfo");
    check(info.at("rules").is_object() && info.at("hasDelay").is_boolean() &&
          info.at("delaySeconds").is_number_integer() && info.at("delayName").is_string());
    check(reply.size() == (reply.contains("page") ? 3u : 2u));
}

void checkContainer(const platform::sim::MemoryFileSystem& files) {
    for (const auto& [path, file] : files.files()) {
        const fs::path written(path);
        const auto name = written.filename().string();
        check(written.parent_path() == paths().sharedContainer() &&
              kContainerNames.count(name) == 1);
        if (name == exchange::kGrayscaleCommandFile) {
            const auto command = json::parseObject(file.content);
            check(command && (command->at("action") == exchange::kActionEnable ||
                              command->at("action") == exchange::kActionDisable));
        }
    }
}

}  // namespace

// Input: one byte of options (high bit: a rules file follows, its length in the next two bytes),
// then the bytes of the pipe.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
    platform::sim::ManualRunLoop loop;
    platform::sim::MemoryFileSystem files(loop.clock());
    if ((data[0] & 0x80) && input.size() >= 2) {
        const std::size_t length =
            std::min<std::size_t>(input.size() - 2, static_cast<std::uint8_t>(input[0]) |
                                                        static_cast<std::uint8_t>(input[1]) << 8);
        const auto container = paths().sharedContainer();
        check(files.ensurePrivateFolder(container).ok());
        check(files.writeInPlace(container / exchange::kRulesFile, input.substr(2, length)).ok());
        input.erase(0, 2 + length);
    }
    if (input.empty()) {
        return 0;
    }

    RecordingOpener opener;
    safari::SafariExtensionHandler handler(paths(), files, loop.clock(), opener);
    std::FILE* in = ::fmemopen(input.data(), input.size(), "r");
    char* written = nullptr;
    std::size_t writtenSize = 0;
    std::FILE* out = ::open_memstream(&written, &writtenSize);
    check(in && out);
    safari::PageMessagePipe(handler, in, out).run();
    std::fclose(in);
    std::fclose(out);

    std::string_view replies(written, writtenSize);
    while (!replies.empty()) {
        check(replies.size() >= exchange::kFrameHeaderSize);
        const auto length = exchange::decodeFrameLength(replies.data());
        check(replies.size() - exchange::kFrameHeaderSize >= length);
        const auto reply = json::parseObject(replies.substr(exchange::kFrameHeaderSize, length));
        check(reply.has_value());
        checkReply(*reply);
        replies.remove_prefix(exchange::kFrameHeaderSize + length);
    }
    std::free(written);
    checkContainer(files);
    return 0;
}
