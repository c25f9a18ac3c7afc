#pragma once

#include <QWidget>
#include <vector>

namespace olvane::ui {

class PageFooterLink;

// The bottom of a page: "Signaler un bug", "Proposer une amélioration" and "Remercier avec un
// don", centred between 32 points of space above and below. The links lead nowhere yet: a click
// changes nothing.
class PageFooter final : public QWidget {
    Q_OBJECT

  public:
    explicit PageFooter(QWidget* parent = nullptr);

    const std::vector<PageFooterLink*>& links() const { return links_; }

  private:
    std::vector<PageFooterLink*> links_;
};

}  // namespace olvane::ui
