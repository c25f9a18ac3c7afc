#pragma once

#include <string>

namespace olvane::ui {

// One application as its desktop entry describes it.
struct ApplicationEntry {
    // The desktop-file ID without ".desktop", subfolders joined by "-" (org.gnome.Calculator).
    std::string id;
    // Name[fr_FR], else Name[fr], else Name; empty when the entry has none.
    std::string name;
    // The Icon value: an absolute path, a name in the icon theme, or empty.
    std::string icon;
    // False for NoDisplay entries: they resolve by ID but are not offered.
    bool listed = true;

    bool operator==(const ApplicationEntry&) const = default;
};

}  // namespace olvane::ui
