#include "model/KeyedDecoder.h"

#include <cmath>
#include <limits>

namespace olvane {
namespace coding {
namespace {

// Stored text may be anything; keep error lines short without cutting a character in two.
std::string shortened(std::string_view text) {
    constexpr std::size_t kMaxBytes = 60;
    if (text.size() <= kMaxBytes) {
        return std::string(text);
    }
    std::size_t end = kMaxBytes;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return std::string(text.substr(0, end)) + "…";
}

}  // namespace

DecodeError failure(const DecodePath& path, const platform::ComposedText& reason) {
    const auto where = path.text();
    if (where.empty()) {
        return {reason};
    }
    return {platform::ComposedText("« " + where + " » : ") + reason};
}

Decoded<bool> decodeBool(const Json& value, const DecodePath& path) {
    if (!value.is_boolean()) {
        return failure(path, "booléen attendu");
    }
    return value.get<bool>();
}

Decoded<std::int64_t> decodeInt64(const Json& value, const DecodePath& path) {
    if (value.is_number_integer() && !value.is_number_unsigned()) {
        return value.get<std::int64_t>();
    }
    if (value.is_number_unsigned()) {
        const auto unsignedValue = value.get<std::uint64_t>();
        if (unsignedValue <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
            return static_cast<std::int64_t>(unsignedValue);
        }
        return failure(path, "entier hors limites");
    }
    if (value.is_number_float()) {
        const auto number = value.get<double>();
        // 2^63 is the first double beyond the range; every double below it in magnitude fits.
        constexpr double kLimit = 9223372036854775808.0;
        if (std::trunc(number) == number && number >= -kLimit && number < kLimit) {
            return static_cast<std::int64_t>(number);
        }
        return failure(path, "nombre entier attendu");
    }
    return failure(path, "nombre entier attendu");
}

Decoded<double> decodeDouble(const Json& value, const DecodePath& path) {
    if (!value.is_number()) {
        return failure(path, "nombre attendu");
    }
    return value.get<double>();
}

Decoded<std::string> decodeString(const Json& value, const DecodePath& path) {
    if (!value.is_string()) {
        return failure(path, "texte attendu");
    }
    return value.get<std::string>();
}

Decoded<Uuid> decodeUuid(const Json& value, const DecodePath& path) {
    auto text = decodeString(value, path);
    if (!text) {
        return std::move(text).takeError();
    }
    if (const auto uuid = Uuid::parse(*text)) {
        return *uuid;
    }
    return failure(path, "identifiant invalide « " + platform::userData(shortened(*text)) + " »");
}

DecodeError unknownRawValue(const DecodePath& path, std::string_view text) {
    return failure(path, "valeur inconnue « " + platform::userData(shortened(text)) + " »");
}

}  // namespace coding

KeyedDecoder::KeyedDecoder(const Json& value, const DecodePath& path)
    : object_(value), path_(path) {
    if (!object_.is_object()) {
        error_ = coding::failure(path_, "objet attendu");
    }
}

const Json* KeyedDecoder::find(std::string_view key, bool required) {
    if (error_) {
        return nullptr;
    }
    const auto it = object_.find(key);
    if (it == object_.end()) {
        if (required) {
            error_ = coding::failure(path_.member(key), "clé absente");
        }
        return nullptr;
    }
    if (it->is_null() && !required) {
        return nullptr;
    }
    return &*it;
}

}  // namespace olvane
