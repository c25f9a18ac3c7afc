#include "ui/pages/contrepoids/FrictionEffectsView.h"

#include <QVBoxLayout>

#include "ui/foundation/AppPickerSheet.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/PageFrame.h"
#include "ui/foundation/PageHeader.h"
#include "ui/foundation/SheetPresenter.h"
#include "ui/foundation/SitePickerSheet.h"
#include "ui/foundation/Theme.h"
#include "ui/pages/contrepoids/EffectsSection.h"
#include "ui/pages/contrepoids/RedListSection.h"

namespace olvane::ui {
namespace {

DebugSpacingIndicator* sectionMargin() {
    return new DebugSpacingIndicator(QStringLiteral("sectionMargin"), Theme::sectionMargin);
}

}  // namespace

FrictionEffectsView::FrictionEffectsView(const Collaborators& collaborators,
                                         InstalledAppsService& apps, QWidget* parent)
    : QWidget(parent) {
    setObjectName(QStringLiteral("friction"));
    auto given = collaborators(*this);
    FaviconService& favicons = given.favicons;
    viewModel_ = std::make_unique<FrictionEffectsViewModel>(std::move(given));
    auto& model = *viewModel_;
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* frame =
        new PageFrame(new PageHeader(QStringLiteral("Contrepoids"),
                                     QStringLiteral("Rends ennuyeux tes usages non-désirés")),
                      QStringLiteral("sectionMargin"), Theme::sectionMargin, this);
    outer->addWidget(frame);
    effects_ = new EffectsSection(model);
    targets_ = new RedListSection(model, model.isShowingAppPicker, model.isShowingSitePicker,
                                  {favicons, apps});
    QVBoxLayout* column = frame->column();
    column->addWidget(effects_);
    column->addWidget(sectionMargin());
    column->addWidget(targets_);

    appPicker_ = std::make_unique<SheetPresenter>(*this, model.isShowingAppPicker, [this, &apps] {
        // The applications already targeted when the sheet opens carry the check mark.
        return std::make_unique<AppPickerSheet>(
            viewModel_->isShowingAppPicker, viewModel_->existingBundleIDs(),
            [this](const InstalledApp& app) { viewModel_->addApp(app.bundleID, app.name); }, apps);
    });
    sitePicker_ = std::make_unique<SheetPresenter>(*this, model.isShowingSitePicker, [this] {
        return std::make_unique<SitePickerSheet>(
            viewModel_->isShowingSitePicker,
            [this](const std::string& site) { viewModel_->addSite(site); });
    });
}

// The sheets and sections watch the model: they go first, then the model ends its tests.
FrictionEffectsView::~FrictionEffectsView() {
    appPicker_.reset();
    sitePicker_.reset();
    delete effects_;
    delete targets_;
    viewModel_.reset();
}

QWidget* FrictionEffectsView::appPicker() const {
    return appPicker_->sheet();
}

QWidget* FrictionEffectsView::sitePicker() const {
    return sitePicker_->sheet();
}

}  // namespace olvane::ui
