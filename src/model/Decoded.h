#pragma once

#include <string>
#include <utility>
#include <variant>

#include "platform/ComposedText.h"

namespace olvane {

// Why a stored value could not be read, in French, with the place where it went wrong; the stored
// text it quotes stays private in the logs.
struct DecodeError {
    platform::ComposedText description;
};

// A whole decoded value, or the reason there is none: decoding never yields a partial value.
template <typename T>
class [[nodiscard]] Decoded {
  public:
    Decoded(T value) : result_(std::move(value)) {}            // NOLINT: implicit by design
    Decoded(DecodeError error) : result_(std::move(error)) {}  // NOLINT

    bool ok() const { return std::holds_alternative<T>(result_); }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return std::get<T>(result_); }
    T&& value() && { return std::get<T>(std::move(result_)); }
    const T& operator*() const& { return value(); }
    const T* operator->() const { return &value(); }

    // Empty when the decoding succeeded.
    const platform::ComposedText& error() const {
        static const platform::ComposedText none;
        const auto* failure = std::get_if<DecodeError>(&result_);
        return failure ? failure->description : none;
    }
    DecodeError takeError() && { return std::get<DecodeError>(std::move(result_)); }

  private:
    std::variant<T, DecodeError> result_;
};

}  // namespace olvane
