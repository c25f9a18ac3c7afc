#pragma once

#include <QImage>
#include <string>

namespace olvane::ui {

// One row of the allowed-applications list, ready to draw.
struct AllowedAppRowData {
    // The application ID.
    std::string id;
    std::string name;
    // 32 × 32 points.
    QImage icon;
    bool isLast = false;

    // Without the icon: a rebuild that only brings new images changes nothing on screen.
    bool operator==(const AllowedAppRowData& other) const {
        return id == other.id && name == other.name && isLast == other.isLast;
    }
};

}  // namespace olvane::ui
