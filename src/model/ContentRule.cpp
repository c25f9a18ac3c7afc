#include "model/ContentRule.h"

#include <array>
#include <utility>

#include "model/KeyedDecoder.h"

namespace olvane {
namespace {

constexpr std::array<std::pair<std::string_view, std::string_view>, 12> kLabels{{
    {"insta_explore", "Masquer l'onglet Découvrir"},
    {"insta_reels", "Masquer l'onglet Reels"},
    {"insta_feed", "Masquer l'onglet Accueil"},
    {"yt_home", "Masquer l'onglet Accueil"},
    {"yt_shorts", "Masquer les Shorts"},
    {"yt_recommendations", "Masquer les recommandations latérales"},
    {"yt_endscreen", "Masquer les recommandations de fin de vidéo"},
    {"yt_comments", "Masquer les commentaires"},
    {"fb_feed", "Masquer le fil d'actualité"},
    {"linkedin_feed", "Masquer le fil d'actualité"},
    {"linkedin_news", "Masquer la barre latérale LinkedIn Actualités"},
    {"linkedin_limit", "Limiter le fil d'actualité aux 2 premiers posts"},
}};

}  // namespace

std::string ContentRule::displayLabel(std::string_view ruleId) {
    for (const auto& [identifier, label] : kLabels) {
        if (identifier == ruleId) {
            return std::string(label);
        }
    }
    return std::string(ruleId);
}

void ContentRule::writeJson(JsonWriter& out) const {
    out.beginObject().member("id", id).member("isEnabled", isEnabled).endObject();
}

Decoded<ContentRule> ContentRule::fromJson(const Json& value, const DecodePath& path) {
    ContentRule rule;
    KeyedDecoder decoder(value, path);
    decoder.require("id", rule.id).require("isEnabled", rule.isEnabled);
    return std::move(decoder).finish(std::move(rule));
}

}  // namespace olvane
