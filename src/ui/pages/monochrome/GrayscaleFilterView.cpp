#include "ui/pages/monochrome/GrayscaleFilterView.h"

#include <QVBoxLayout>

#include "ui/foundation/AppPickerSheet.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/PageFrame.h"
#include "ui/foundation/PageHeader.h"
#include "ui/foundation/SheetPresenter.h"
#include "ui/foundation/SitePickerSheet.h"
#include "ui/foundation/Theme.h"
#include "ui/pages/monochrome/GrayscaleActivationSection.h"
#include "ui/pages/monochrome/GrayscaleExceptionsSection.h"
#include "ui/pages/monochrome/GrayscaleSettingsSection.h"
#include "ui/pages/monochrome/GrayscaleShortcutsSection.h"

namespace olvane::ui {
namespace {

DebugSpacingIndicator* sectionMargin() {
    return new DebugSpacingIndicator(QStringLiteral("sectionMargin"), Theme::sectionMargin);
}

}  // namespace

GrayscaleFilterView::GrayscaleFilterView(GrayscaleFilterViewModel::Collaborators collaborators,
                                         WindowWidth& windowWidth,
                                         platform::KeyboardLayout& keyboard, QWidget* parent)
    : QWidget(parent), viewModel_(std::make_unique<GrayscaleFilterViewModel>(collaborators)) {
    setObjectName(QStringLiteral("grayscale"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* frame = new PageFrame(
        new PageHeader(QStringLiteral("Monochrome"),
                       QStringLiteral("Préserve ton attention avec un filtre noir et blanc")),
        QStringLiteral("sectionMargin"), Theme::sectionMargin, this);
    outer->addWidget(frame);

    auto& model = *viewModel_;
    activation_ = new GrayscaleActivationSection(model);
    exceptions_ = new GrayscaleExceptionsSection(
        model, showAppPicker, showSitePicker, collaborators.installedApps, collaborators.favicons);
    shortcuts_ = new GrayscaleShortcutsSection(windowWidth, keyboard);
    settings_ = new GrayscaleSettingsSection(model);
    QVBoxLayout* column = frame->column();
    column->addWidget(activation_);
    column->addWidget(sectionMargin());
    column->addWidget(exceptions_);
    column->addWidget(sectionMargin());
    column->addWidget(shortcuts_);
    column->addWidget(sectionMargin());
    column->addWidget(settings_);

    auto& apps = collaborators.installedApps;
    appPicker_ = std::make_unique<SheetPresenter>(*this, showAppPicker, [this, &apps] {
        // The applications allowed when the sheet opens carry the check mark.
        return std::make_unique<AppPickerSheet>(
            showAppPicker, viewModel_->existingBundleIDs(),
            [this](const InstalledApp& app) { viewModel_->addApp(app.bundleID); }, apps);
    });
    sitePicker_ = std::make_unique<SheetPresenter>(*this, showSitePicker, [this] {
        return std::make_unique<SitePickerSheet>(showSitePicker, [this](const std::string& site) {
            viewModel_->newSiteInput.set(site);
            viewModel_->addSite();
        });
    });
}

GrayscaleFilterView::~GrayscaleFilterView() = default;

QWidget* GrayscaleFilterView::appPicker() const {
    return appPicker_->sheet();
}

QWidget* GrayscaleFilterView::sitePicker() const {
    return sitePicker_->sheet();
}

}  // namespace olvane::ui
