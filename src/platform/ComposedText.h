#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace olvane::platform {

// A text this program composes (a message, a failure's description): public in the logs, except
// the user's data inside it (paths, domains, application identifiers, key codes), which stays
// private. Literals are ours; any other string must say which it is, through `ComposedText(…)`
// for our own words or `userData(…)` for the user's.
class ComposedText {
  public:
    ComposedText() = default;
    ComposedText(const char* ours);  // NOLINT: implicit for our literals
    explicit ComposedText(std::string ours);

    // The user's data: "<private>" in persistent logs.
    static ComposedText userData(std::string_view data);

    ComposedText& operator+=(const ComposedText& more);
    friend ComposedText operator+(ComposedText left, const ComposedText& right) {
        return left += right;
    }
    friend ComposedText operator+(ComposedText left, const char* right) {
        return left += ComposedText(right);
    }
    friend ComposedText operator+(const char* left, const ComposedText& right) {
        return ComposedText(left) += right;
    }

    // The whole text.
    std::string text() const;
    // The text with each piece of user data replaced by "<private>".
    std::string redacted() const;
    bool empty() const;
    bool operator==(const ComposedText& other) const { return text() == other.text(); }

  private:
    struct Piece {
        std::string text;
        bool isUserData = false;
    };
    std::vector<Piece> pieces_;
};

inline ComposedText userData(std::string_view data) {
    return ComposedText::userData(data);
}

// The whole text (for test messages).
std::ostream& operator<<(std::ostream& out, const ComposedText& text);

// "« path »", the path being the user's data.
ComposedText quotedPath(const std::filesystem::path& path);

}  // namespace olvane::platform
