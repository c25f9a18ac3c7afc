#include "ui/effects/ScreenTimeline.h"

#include <cstdio>

namespace olvane::ui {
namespace {

// Enough to see how a wait began and how it ended.
constexpr std::size_t kSpansShown = 24;

std::string seconds(std::int64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", static_cast<double>(ms) / 1000.0);
    return text;
}

}  // namespace

Look& Look::need(std::string_view condition, bool holds) {
    if (!holds) {
        failed_.emplace_back(condition);
    }
    return *this;
}

Look& Look::keep(std::string_view condition, bool holds) {
    broken_ = broken_ || !holds;
    return need(condition, holds);
}

Look& Look::read(std::string_view what, std::string value) {
    read_.emplace_back(what, std::move(value));
    return *this;
}

std::string Look::describe() const {
    std::string text = holds() ? "holds" : "fails:";
    for (const auto& condition : failed_) {
        text += " [" + condition + "]";
    }
    for (const auto& [what, value] : read_) {
        text += "; " + what + " " + value;
    }
    return text;
}

void ScreenTimeline::add(const Look& look, std::int64_t atMs) {
    std::string seen = look.describe();
    if (!spans_.empty() && spans_.back().seen == seen) {
        spans_.back().lastMs = atMs;
        ++spans_.back().looks;
        return;
    }
    spans_.push_back({std::move(seen), atMs, atMs, 1});
}

std::string ScreenTimeline::describe() const {
    std::string text;
    for (std::size_t i = 0; i < spans_.size(); ++i) {
        if (spans_.size() > kSpansShown && i == kSpansShown / 2) {
            text += "  … " + std::to_string(spans_.size() - kSpansShown) + " more spans\n";
            i = spans_.size() - kSpansShown / 2;
        }
        const Span& span = spans_[i];
        text += "  " + seconds(span.firstMs) + " to " + seconds(span.lastMs) + " (" +
                std::to_string(span.lastMs - span.firstMs) + " ms, " + std::to_string(span.looks) +
                " looks): " + span.seen + "\n";
    }
    return text;
}

std::string hexColour(std::uint32_t rgb) {
    char text[8];
    std::snprintf(text, sizeof text, "%06x", rgb & 0xFFFFFF);
    return text;
}

}  // namespace olvane::ui
