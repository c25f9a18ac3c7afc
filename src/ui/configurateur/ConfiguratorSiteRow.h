#pragma once

#include <string>

#include "platform/Handle.h"
#include "ui/configurateur/ConfiguratorListRow.h"

namespace olvane::ui {

class FaviconService;

// A chosen website: the globe until its favicon is known, in grey from then on. The row keeps
// its wait for the download, which ends with the row.
class ConfiguratorSiteRow final : public ConfiguratorListRow {
    Q_OBJECT

  public:
    ConfiguratorSiteRow(const std::string& domain, const QString& displayName,
                        std::function<void()> onRemove, FaviconService& favicons,
                        QWidget* parent = nullptr);

    const std::string& domain() const { return domain_; }

  private:
    std::string domain_;
    platform::Handle waitingFavicon_;
};

}  // namespace olvane::ui
