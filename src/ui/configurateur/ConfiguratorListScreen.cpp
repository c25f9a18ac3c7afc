#include "ui/configurateur/ConfiguratorListScreen.h"

#include <QVBoxLayout>

#include "ui/configurateur/ConfiguratorListCard.h"
#include "ui/configurateur/ConfiguratorQuestionCard.h"
#include "ui/foundation/SheetPresenter.h"

namespace olvane::ui {

ConfiguratorListScreen::ConfiguratorListScreen(const QString& question, const std::string& icon,
                                               const QString& addLabel, QWidget* parent)
    : QWidget(parent),
      list_(new ConfiguratorListCard(addLabel, [this] { pickerShown_.set(true); })) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(new ConfiguratorQuestionCard(question, icon, list_));
    column->addStretch(1);
    presenter_ =
        std::make_unique<SheetPresenter>(*this, pickerShown_, [this] { return makePicker(); });
}

ConfiguratorListScreen::~ConfiguratorListScreen() = default;

QWidget* ConfiguratorListScreen::picker() const {
    return presenter_->sheet();
}

}  // namespace olvane::ui
