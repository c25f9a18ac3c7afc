#pragma once

#include <QImage>
#include <string>

namespace olvane::ui {

// An installed application as the interface shows it. Its identity is its ID alone.
struct InstalledApp {
    // The application ID (the desktop-file ID without ".desktop").
    std::string bundleID;
    std::string name;
    // 32 × 32 points.
    QImage icon;

    bool operator==(const InstalledApp& other) const { return bundleID == other.bundleID; }
};

}  // namespace olvane::ui
