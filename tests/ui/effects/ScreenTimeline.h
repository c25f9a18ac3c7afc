#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace olvane::ui {

// One look at the screen for a check: whether each of its conditions held, and what was read.
class Look {
  public:
    // Needed once the wait is over.
    Look& need(std::string_view condition, bool holds);
    // Needed from the first look on: a window in front, say, that the fog must never cover.
    Look& keep(std::string_view condition, bool holds);
    Look& read(std::string_view what, std::string value);
    bool holds() const { return failed_.empty(); }
    bool broken() const { return broken_; }
    // The conditions that failed, then what was read.
    std::string describe() const;

  private:
    std::vector<std::string> failed_;
    bool broken_ = false;
    std::vector<std::pair<std::string, std::string>> read_;
};

// The looks of one wait, in spans of looks that saw the same: when each was first and last
// seen, and for how long.
class ScreenTimeline {
  public:
    void add(const Look& look, std::int64_t atMs);
    std::string describe() const;

  private:
    struct Span {
        std::string seen;
        std::int64_t firstMs;
        std::int64_t lastMs;
        int looks;
    };
    std::vector<Span> spans_;
};

// 0xRRGGBB as six hexadecimal digits.
std::string hexColour(std::uint32_t rgb);

}  // namespace olvane::ui
