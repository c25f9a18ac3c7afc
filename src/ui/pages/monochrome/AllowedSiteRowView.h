#pragma once

#include "platform/Handle.h"
#include "ui/pages/monochrome/AllowedSiteRowData.h"
#include "ui/pages/monochrome/ExceptionRowView.h"

namespace olvane::ui {

class FaviconService;

// An allowed website: its entry and the "globe" until the row, once on screen, has the site's
// icon, at once from the caches or when its download ends.
class AllowedSiteRowView final : public ExceptionRowView {
    Q_OBJECT

  public:
    AllowedSiteRowView(const AllowedSiteRowData& data, FaviconService& favicons,
                       std::function<void(const std::string&)> onDelete, QWidget* parent = nullptr);

    const AllowedSiteRowData& data() const { return data_; }
    void setData(const AllowedSiteRowData& data);
    bool isWaitingForFavicon() const { return static_cast<bool>(waiting_); }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void lookUp();

    AllowedSiteRowData data_;
    FaviconService& favicons_;
    // The completion of the download; dropped with the row.
    platform::Handle waiting_;
};

}  // namespace olvane::ui
