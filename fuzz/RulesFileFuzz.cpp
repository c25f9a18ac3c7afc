// Arbitrary bytes as rules.json. The host passes on the compact text of the file's object: it
// takes exactly what a JSON parser takes as an object, means the same object, and is stable. The
// Safari stand-in reads the same file: pages get every platform section and none of the
// application's own, a delay entry is a site with its delay on, and the friction sites written
// back read back the same.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzCheck.h"
#include "model/exchange/RulesFileFormat.h"
#include "safari-extension/PageConfig.h"
#include "safari-extension/SafariExtensionHandler.h"

namespace {

using namespace olvane;
using fuzz::check;

void checkHostReading(std::string_view text, const std::optional<Json>& object) {
    const auto compact = json::compactObjectText(text);
    check(compact.has_value() == object.has_value());
    if (!compact) {
        return;
    }
    check(json::parseObject(*compact) == object);
    check(json::compactObjectText(*compact) == compact);
}

void checkPageSections(const Json& rules) {
    const auto sections = exchange::contentRules(rules);
    for (const auto& [key, value] : rules.items()) {
        check(exchange::isOwnSection(key) ? !sections.contains(key) : sections.at(key) == value);
    }
    check(sections.size() <= rules.size());
}

void checkRedList(const Json& rules) {
    const auto sites = exchange::redListSites(rules);
    const Json written = {{exchange::kRedListSection, exchange::redListSection(sites)}};
    const auto again = exchange::redListSites(*json::parseObject(json::dumpCompact(written)));
    check(again.size() == sites.size());
    for (std::size_t i = 0; i < sites.size(); ++i) {
        check(again[i].toJson() == sites[i].toJson());
    }
    // Every site with its delay on is the delay entry of its own domain, or an earlier one is.
    for (const auto& site : sites) {
        const auto entry = safari::SafariExtensionHandler::delayEntry(site.domain, "/", rules);
        check(!entry || (entry->is_object() && json::boolMember(*entry, "delay") == true));
        const auto config = safari::PageConfig::make(rules, site.domain, entry);
        check(config.hasDelay == entry.has_value() && config.toUserInfo().is_object());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto rules = json::parseObject(text);
    checkHostReading(text, rules);
    if (!rules) {
        return 0;
    }
    checkPageSections(*rules);
    (void)exchange::allowedSites(*rules);
    checkRedList(*rules);
    return 0;
}
