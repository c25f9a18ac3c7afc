#pragma once

#include <QWidget>
#include <array>
#include <set>

#include "ui/pages/guide/GuideSection.h"

namespace olvane::ui {

class GuideSectionCard;

// The guide: what the application is for and what each module does, in four cards that open and
// close independently. Every card is closed when the page opens; nothing is saved.
class GuideView final : public QWidget {
    Q_OBJECT

  public:
    explicit GuideView(QWidget* parent = nullptr);

    const std::set<GuideSection>& expandedSections() const { return expandedSections_; }
    GuideSectionCard* card(GuideSection section) const;

  private:
    void toggle(GuideSection section);

    std::set<GuideSection> expandedSections_;
    std::array<GuideSectionCard*, 4> cards_{};
};

}  // namespace olvane::ui
