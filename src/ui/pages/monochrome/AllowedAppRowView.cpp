#include "ui/pages/monochrome/AllowedAppRowView.h"

#include "ui/foundation/InstalledAppsService.h"

namespace olvane::ui {

AllowedAppRowView::AllowedAppRowView(const AllowedAppRowData& data, InstalledAppsService& apps,
                                     std::function<void(const std::string&)> onDelete,
                                     QWidget* parent)
    : ExceptionRowView("app.fill", data.id, data.isLast, std::move(onDelete), parent),
      data_(data),
      apps_(apps) {
    showText();
}

void AllowedAppRowView::setData(const AllowedAppRowData& data) {
    data_ = data;
    setLast(data.isLast);
    showText();
}

void AllowedAppRowView::showEvent(QShowEvent* event) {
    ExceptionRowView::showEvent(event);
    if (!image()) {
        lookUp();
    }
}

// The same lookup as the list's, so the row never shows another name than its data would.
void AllowedAppRowView::lookUp() {
    const auto info = apps_.appInfo(data_.id);
    if (!info.icon) {
        return;
    }
    setImage(*info.icon);
    cachedName_ = info.name;
    showText();
    iconArrival_ = apps_.whenIconArrives(data_.id, [this](const QImage& icon) { setImage(icon); });
}

void AllowedAppRowView::showText() {
    setText(QString::fromStdString(cachedName_.value_or(data_.name)));
}

}  // namespace olvane::ui
