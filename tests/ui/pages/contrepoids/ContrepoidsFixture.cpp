#include "ui/pages/contrepoids/ContrepoidsFixture.h"

#include "model/exchange/RulesFileFormat.h"

namespace olvane::test {

RedListConfig makeTarget(FrictionTargetType type, const std::string& identifier, bool anyEffect) {
    RedListConfig target;
    target.id = Uuid::random();
    target.targetType = type;
    target.targetIdentifier = identifier;
    target.targetDisplayName = identifier;
    target.isFogEnabled = anyEffect;
    return target;
}

Json ContrepoidsFixture::redListSection() const {
    const Json rules = rulesFile.readRules();
    return rules.contains(exchange::kRedListSection) ? rules[exchange::kRedListSection] : Json();
}

}  // namespace olvane::test
