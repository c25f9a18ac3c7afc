#include "platform/ComposedText.h"

namespace olvane::platform {

ComposedText::ComposedText(const char* ours) : ComposedText(std::string(ours ? ours : "")) {}

ComposedText::ComposedText(std::string ours) {
    if (!ours.empty()) {
        pieces_.push_back({std::move(ours), false});
    }
}

ComposedText ComposedText::userData(std::string_view data) {
    ComposedText text;
    text.pieces_.push_back({std::string(data), true});
    return text;
}

ComposedText& ComposedText::operator+=(const ComposedText& more) {
    pieces_.insert(pieces_.end(), more.pieces_.begin(), more.pieces_.end());
    return *this;
}

std::string ComposedText::text() const {
    std::string out;
    for (const auto& piece : pieces_) {
        out += piece.text;
    }
    return out;
}

std::string ComposedText::redacted() const {
    std::string out;
    for (const auto& piece : pieces_) {
        out += piece.isUserData ? "<private>" : piece.text;
    }
    return out;
}

bool ComposedText::empty() const {
    for (const auto& piece : pieces_) {
        if (!piece.text.empty()) {
            return false;
        }
    }
    return true;
}

std::ostream& operator<<(std::ostream& out, const ComposedText& text) {
    return out << text.text();
}

ComposedText quotedPath(const std::filesystem::path& path) {
    return "« " + userData(path.string()) + " »";
}

}  // namespace olvane::platform
