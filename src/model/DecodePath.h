#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace olvane {

// Where a value sits in a stored document, as a failure names it ("redListConfigs[0].id"). Each
// step only points to the one before it, so nothing is spelled out unless a failure asks; a step
// must not outlive the step it was made from.
class DecodePath {
  public:
    // The document itself.
    DecodePath() = default;

    DecodePath member(std::string_view key) const { return {this, key, 0}; }
    DecodePath element(std::size_t index) const { return {this, {}, index}; }

    // Empty for the document itself.
    std::string text() const;

  private:
    DecodePath(const DecodePath* parent, std::string_view key, std::size_t index)
        : parent_(parent), key_(key), index_(index) {}

    const DecodePath* parent_ = nullptr;
    std::string_view key_;  // empty for an element
    std::size_t index_ = 0;
};

}  // namespace olvane
