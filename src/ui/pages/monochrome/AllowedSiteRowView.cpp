#include "ui/pages/monochrome/AllowedSiteRowView.h"

#include "ui/foundation/FaviconService.h"

namespace olvane::ui {

AllowedSiteRowView::AllowedSiteRowView(const AllowedSiteRowData& data, FaviconService& favicons,
                                       std::function<void(const std::string&)> onDelete,
                                       QWidget* parent)
    : ExceptionRowView("globe", data.id, data.isLast, std::move(onDelete), parent),
      data_(data),
      favicons_(favicons) {
    setText(QString::fromStdString(data.domain));
}

void AllowedSiteRowView::setData(const AllowedSiteRowData& data) {
    data_ = data;
    setLast(data.isLast);
    setText(QString::fromStdString(data.domain));
}

void AllowedSiteRowView::showEvent(QShowEvent* event) {
    ExceptionRowView::showEvent(event);
    if (!image() && !waiting_) {
        lookUp();
    }
}

void AllowedSiteRowView::lookUp() {
    auto lookup = favicons_.favicon(data_.domain, [this](const QImage& icon) {
        waiting_ = platform::Handle();
        setImage(icon);
    });
    if (lookup.icon) {
        setImage(*lookup.icon);
        return;
    }
    waiting_ = std::move(lookup.waiting);
}

}  // namespace olvane::ui
