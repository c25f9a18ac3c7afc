#include "ui/configurateur/ConfiguratorListCard.h"

#include <QVBoxLayout>

#include "ui/configurateur/AnswerScrollArea.h"
#include "ui/foundation/AddExceptionRow.h"

namespace olvane::ui {
namespace {

constexpr int kPaddingH = 16;
constexpr int kPaddingBottom = 8;

}  // namespace

ConfiguratorListCard::ConfiguratorListCard(const QString& addLabel, std::function<void()> onAdd,
                                           QWidget* parent)
    : QWidget(parent),
      addLabel_(addLabel),
      onAdd_(std::move(onAdd)),
      scroll_(new AnswerScrollArea(QMargins(kPaddingH, 0, kPaddingH, kPaddingBottom), this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll_);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Maximum);
    setHasEntries(false);
}

QVBoxLayout& ConfiguratorListCard::rows() const {
    return *scroll_->column();
}

void ConfiguratorListCard::setHasEntries(bool hasEntries) {
    addRow_ = AddExceptionRow::keptAtEnd(addRow_, rows(), addLabel_, onAdd_, hasEntries,
                                         scroll_->widget());
}

}  // namespace olvane::ui
