#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "model/DecodePath.h"
#include "model/Decoded.h"
#include "model/RawValueEnum.h"
#include "model/Uuid.h"
#include "platform/Json.h"

// The strict reading of stored JSON values: a value of another type, an unknown raw value or a
// malformed identifier fails. Only KeyedDecoder::ifPresent tolerates absence (a missing key or
// null). Each failure names where it happened ("redListConfigs[0].targetType").
namespace olvane {

namespace coding {

DecodeError failure(const DecodePath& path, const platform::ComposedText& reason);

Decoded<bool> decodeBool(const Json& value, const DecodePath& path);
// Any JSON number holding a whole value in range (1 and 1.0 alike).
Decoded<std::int64_t> decodeInt64(const Json& value, const DecodePath& path);
Decoded<double> decodeDouble(const Json& value, const DecodePath& path);
Decoded<std::string> decodeString(const Json& value, const DecodePath& path);
Decoded<Uuid> decodeUuid(const Json& value, const DecodePath& path);
DecodeError unknownRawValue(const DecodePath& path, std::string_view text);

template <typename T>
struct IsVector : std::false_type {};
template <typename T>
struct IsVector<std::vector<T>> : std::true_type {};

template <typename T>
Decoded<T> decodeValue(const Json& value, const DecodePath& path);

template <RawValueEnum E>
Decoded<E> decodeRawValue(const Json& value, const DecodePath& path) {
    auto text = decodeString(value, path);
    if (!text) {
        return std::move(text).takeError();
    }
    if (const auto decoded = fromRawValue<E>(*text)) {
        return *decoded;
    }
    return unknownRawValue(path, *text);
}

template <typename V>
Decoded<V> decodeList(const Json& value, const DecodePath& path) {
    if (!value.is_array()) {
        return failure(path, "liste attendue");
    }
    V list;
    list.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        auto element = decodeValue<typename V::value_type>(value[i], path.element(i));
        if (!element) {
            return std::move(element).takeError();
        }
        list.push_back(std::move(element).value());
    }
    return list;
}

template <typename T>
Decoded<T> decodeValue(const Json& value, const DecodePath& path) {
    if constexpr (std::is_same_v<T, bool>) {
        return decodeBool(value, path);
    } else if constexpr (std::is_same_v<T, std::int64_t>) {
        return decodeInt64(value, path);
    } else if constexpr (std::is_same_v<T, double>) {
        return decodeDouble(value, path);
    } else if constexpr (std::is_same_v<T, std::string>) {
        return decodeString(value, path);
    } else if constexpr (std::is_same_v<T, Uuid>) {
        return decodeUuid(value, path);
    } else if constexpr (RawValueEnum<T>) {
        return decodeRawValue<T>(value, path);
    } else if constexpr (IsVector<T>::value) {
        return decodeList<T>(value, path);
    } else {
        return T::fromJson(value, path);
    }
}

}  // namespace coding

// Reads the members of one JSON object into fields. The first failure is kept and every later
// read does nothing, so a type's decoder reads all its keys and checks once at the end.
class KeyedDecoder {
  public:
    KeyedDecoder(const Json& value, const DecodePath& path);

    // The key must be present with a value of the field's type.
    template <typename T>
    KeyedDecoder& require(std::string_view key, T& field) {
        if (const Json* member = find(key, /*required=*/true)) {
            assign(*member, key, field);
        }
        return *this;
    }

    // A missing key or a null leaves the field as it is; any other value must be of its type.
    template <typename T>
    KeyedDecoder& ifPresent(std::string_view key, T& field) {
        if (const Json* member = find(key, /*required=*/false)) {
            assign(*member, key, field);
        }
        return *this;
    }
    template <typename T>
    KeyedDecoder& ifPresent(std::string_view key, std::optional<T>& field) {
        if (const Json* member = find(key, /*required=*/false)) {
            T value{};
            assign(*member, key, value);
            if (!error_) {
                field = std::move(value);
            }
        }
        return *this;
    }

    // The value read, or the first failure.
    template <typename T>
    Decoded<T> finish(T value) && {
        if (error_) {
            return std::move(*error_);
        }
        return value;
    }

  private:
    // nullptr when nothing is to be read (earlier failure, absent or null optional key).
    const Json* find(std::string_view key, bool required);

    template <typename T>
    void assign(const Json& member, std::string_view key, T& field) {
        auto decoded = coding::decodeValue<T>(member, path_.member(key));
        if (decoded) {
            field = std::move(decoded).value();
        } else {
            error_ = std::move(decoded).takeError();
        }
    }

    const Json& object_;
    DecodePath path_;
    std::optional<DecodeError> error_;
};

}  // namespace olvane
