#include "platform/sim/SimulatedDisplayFile.h"

#include <cstdint>
#include <utility>

#include "platform/FileIO.h"

namespace olvane::platform::sim {
namespace {

bool isDisplay(const OrderedJson& entry) {
    if (!entry.is_object()) {
        return false;
    }
    const auto id = entry.find("id");
    if (id == entry.end() || !id->is_string()) {
        return false;
    }
    const auto mode = entry.find("mode");
    return mode == entry.end() ||
           (mode->is_number_unsigned() && mode->get<std::uint64_t>() <= UINT32_MAX);
}

OrderedJson displayEntry(const std::string& id, std::optional<bool> external, std::uint32_t mode) {
    OrderedJson entry = OrderedJson::object();
    entry["id"] = id;
    if (external) {
        entry["external"] = *external;
    }
    entry["mode"] = mode;
    return entry;
}

}  // namespace

std::filesystem::path SimulatedDisplayFile::defaultPath(const Paths& paths) {
    return paths.runtimeFolder() / kFileName;
}

SimulatedDisplayFile::SimulatedDisplayFile()
    : document_(OrderedJson{{"displays", OrderedJson::array()}}) {
    addDisplay(kDefaultDisplayId, false, kRemapModeColour);
}

std::optional<SimulatedDisplayFile> SimulatedDisplayFile::read(const std::filesystem::path& path) {
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec) {
        return SimulatedDisplayFile();
    }
    const auto text = readWholeFile(path);
    if (!text) {
        return std::nullopt;
    }
    return parse(*text);
}

std::optional<SimulatedDisplayFile> SimulatedDisplayFile::parse(std::string_view text) {
    auto document = json::parseOrdered(text);
    if (!document || !document->is_object()) {
        return std::nullopt;
    }
    const auto displays = document->find("displays");
    if (displays == document->end() || !displays->is_array()) {
        return std::nullopt;
    }
    for (const auto& entry : *displays) {
        if (!isDisplay(entry)) {
            return std::nullopt;
        }
    }
    return SimulatedDisplayFile(std::move(*document));
}

std::vector<std::string> SimulatedDisplayFile::displayIds() const {
    std::vector<std::string> ids;
    for (const auto& entry : document_["displays"]) {
        ids.push_back(entry["id"].get<std::string>());
    }
    return ids;
}

const OrderedJson* SimulatedDisplayFile::find(const std::string& id) const {
    for (const auto& entry : document_["displays"]) {
        if (entry["id"].get<std::string>() == id) {
            return &entry;
        }
    }
    return nullptr;
}

OrderedJson* SimulatedDisplayFile::find(const std::string& id) {
    return const_cast<OrderedJson*>(std::as_const(*this).find(id));
}

std::optional<ExternalProperty> SimulatedDisplayFile::external(const std::string& id) const {
    const auto* entry = find(id);
    if (!entry) {
        return std::nullopt;
    }
    const auto it = entry->find("external");
    if (it == entry->end()) {
        return ExternalProperty::Absent;
    }
    if (!it->is_boolean()) {
        return ExternalProperty::NotBoolean;
    }
    return it->get<bool>() ? ExternalProperty::True : ExternalProperty::False;
}

std::optional<std::uint32_t> SimulatedDisplayFile::mode(const std::string& id) const {
    const auto* entry = find(id);
    if (!entry) {
        return std::nullopt;
    }
    const auto it = entry->find("mode");
    if (it == entry->end()) {
        return kRemapModeColour;
    }
    return static_cast<std::uint32_t>(it->get<std::uint64_t>());
}

bool SimulatedDisplayFile::setMode(const std::string& id, std::uint32_t mode) {
    auto* entry = find(id);
    if (!entry) {
        return false;
    }
    (*entry)["mode"] = mode;
    return true;
}

void SimulatedDisplayFile::addDisplay(const std::string& id, std::optional<bool> external,
                                      std::uint32_t mode) {
    document_["displays"].push_back(displayEntry(id, external, mode));
}

std::string SimulatedDisplayFile::serialize() const {
    return json::dumpCompact(document_) + "\n";
}

Status SimulatedDisplayFile::write(const std::filesystem::path& path) const {
    if (auto folder = ensurePrivateFolder(path.parent_path()); !folder) {
        return folder;
    }
    return writeFileAtomically(path, serialize());
}

}  // namespace olvane::platform::sim
