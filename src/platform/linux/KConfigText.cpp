#include "platform/linux/KConfigText.h"

#include <algorithm>
#include <vector>

namespace olvane::platform::os::kconfig {
namespace {

struct Line {
    std::string_view content;  // without its line end
    std::string_view end;      // "\n", "\r\n" or empty on an unterminated last line
};

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    while (!text.empty()) {
        const auto newline = text.find('\n');
        auto content = text.substr(0, newline);
        std::string_view end;
        if (newline != std::string_view::npos) {
            const bool crlf = !content.empty() && content.back() == '\r';
            if (crlf) {
                content.remove_suffix(1);
            }
            end = text.substr(content.size(), crlf ? 2 : 1);
        }
        lines.push_back({content, end});
        text.remove_prefix(content.size() + end.size());
    }
    return lines;
}

std::string_view trimmed(std::string_view text) {
    const auto begin = text.find_first_not_of(" \t");
    if (begin == std::string_view::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(" \t") - begin + 1);
}

bool isHeader(const Line& line) {
    return trimmed(line.content).starts_with('[');
}

bool isBlank(const Line& line) {
    return trimmed(line.content).empty();
}

bool isGroup(const Line& line, std::string_view group) {
    const auto header = trimmed(line.content);
    return header.size() == group.size() + 2 && header.front() == '[' && header.back() == ']' &&
           header.substr(1, group.size()) == group;
}

// The key a line assigns; empty for comments, headers and other lines.
std::string_view keyOf(const Line& line) {
    const auto content = trimmed(line.content);
    const auto equals = content.find('=');
    if (content.starts_with('#') || content.starts_with('[') || equals == std::string_view::npos) {
        return {};
    }
    return trimmed(content.substr(0, equals));
}

// [begin, end) of the lines after the group's header, up to the next header.
struct Body {
    std::size_t header = 0;
    std::size_t begin = 0;
    std::size_t end = 0;
};

std::optional<Body> findGroup(const std::vector<Line>& lines, std::string_view group) {
    const auto header = std::find_if(lines.begin(), lines.end(),
                                     [&](const Line& line) { return isGroup(line, group); });
    if (header == lines.end()) {
        return std::nullopt;
    }
    const auto end = std::find_if(header + 1, lines.end(), isHeader);
    const auto index = static_cast<std::size_t>(header - lines.begin());
    return Body{index, index + 1, static_cast<std::size_t>(end - lines.begin())};
}

std::string joined(const std::vector<Line>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text.append(line.content).append(line.end);
    }
    return text;
}

}  // namespace

bool hasGroup(std::string_view text, std::string_view group) {
    return findGroup(splitLines(text), group).has_value();
}

std::optional<std::string> entry(std::string_view text, std::string_view group,
                                 std::string_view key) {
    const auto lines = splitLines(text);
    const auto body = findGroup(lines, group);
    if (!body) {
        return std::nullopt;
    }
    for (auto i = body->begin; i < body->end; ++i) {
        if (keyOf(lines[i]) == key) {
            const auto content = trimmed(lines[i].content);
            return std::string(trimmed(content.substr(content.find('=') + 1)));
        }
    }
    return std::nullopt;
}

std::string withEntry(std::string_view text, std::string_view group, std::string_view key,
                      const std::optional<std::string>& value) {
    auto lines = splitLines(text);
    const std::string assignment = value ? std::string(key) + "=" + *value : std::string();
    const auto body = findGroup(lines, group);
    if (!body) {
        if (!value) {
            return std::string(text);
        }
        std::string out(text);
        if (!out.empty() && out.back() != '\n') {
            out += '\n';
        }
        if (!lines.empty() && !isBlank(lines.back())) {
            out += '\n';
        }
        return out + "[" + std::string(group) + "]\n" + assignment + "\n";
    }
    const auto first = lines.begin() + static_cast<std::ptrdiff_t>(body->begin);
    const auto last = lines.begin() + static_cast<std::ptrdiff_t>(body->end);
    const auto existing =
        std::find_if(first, last, [&](const Line& line) { return keyOf(line) == key; });
    if (!value) {
        lines.erase(
            std::remove_if(first, last, [&](const Line& line) { return keyOf(line) == key; }),
            last);
        return joined(lines);
    }
    if (existing != last) {
        existing->content = assignment;
        return joined(lines);
    }
    // After the group's last non-blank line, so the blank lines that part it from the next stay.
    auto after = last;
    while (after != first && isBlank(*(after - 1))) {
        --after;
    }
    if (after != lines.begin() && (after - 1)->end.empty()) {
        (after - 1)->end = "\n";
    }
    lines.insert(after, Line{assignment, "\n"});
    return joined(lines);
}

std::string withoutEmptyGroup(std::string_view text, std::string_view group) {
    auto lines = splitLines(text);
    const auto body = findGroup(lines, group);
    if (!body || !std::all_of(lines.begin() + static_cast<std::ptrdiff_t>(body->begin),
                              lines.begin() + static_cast<std::ptrdiff_t>(body->end), isBlank)) {
        return std::string(text);
    }
    const auto header = lines.begin() + static_cast<std::ptrdiff_t>(body->header);
    auto first = header;
    if (first != lines.begin() && isBlank(*(first - 1))) {
        --first;
    }
    lines.erase(first, header + 1);
    return joined(lines);
}

}  // namespace olvane::platform::os::kconfig
