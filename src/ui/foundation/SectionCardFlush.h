#pragma once

#include "ui/foundation/SectionCard.h"

namespace olvane::ui {

// A section card without inner margin, for rows that reach the card's edges.
class SectionCardFlush final : public SectionCard {
  public:
    explicit SectionCardFlush(QWidget* content, QWidget* parent = nullptr)
        : SectionCard(content, 0, parent) {}
};

}  // namespace olvane::ui
