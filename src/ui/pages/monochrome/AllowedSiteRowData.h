#pragma once

#include <QImage>
#include <string>

namespace olvane::ui {

// One row of the allowed-websites list, ready to draw.
struct AllowedSiteRowData {
    // The stored site entry.
    std::string id;
    // The same entry, as the row shows it.
    std::string domain;
    QImage icon;
    // Whether `icon` is the site's own icon rather than the globe.
    bool hasFavicon = false;
    bool isLast = false;

    // Without the icon: a rebuild that only brings new images changes nothing on screen.
    bool operator==(const AllowedSiteRowData& other) const {
        return id == other.id && domain == other.domain && hasFavicon == other.hasFavicon &&
               isLast == other.isLast;
    }
};

}  // namespace olvane::ui
