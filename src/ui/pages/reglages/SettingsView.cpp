#include "ui/pages/reglages/SettingsView.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/foundation/LabelButton.h"
#include "ui/foundation/PageFrame.h"
#include "ui/foundation/PageHeader.h"
#include "ui/foundation/Separator.h"
#include "ui/foundation/SheetPresenter.h"
#include "ui/foundation/SpacingDebugManager.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/foundation/VersionRow.h"
#include "ui/pages/reglages/UninstallConfirmationSheet.h"

namespace olvane::ui {

SettingsView::SettingsView(Collaborators collaborators, QWidget* parent)
    : QWidget(parent), c_(std::move(collaborators)) {
    setObjectName(QStringLiteral("settings"));
    auto* page = new PageFrame(new PageHeader(QStringLiteral("Réglages"), std::nullopt), this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);

    auto* rows = new QVBoxLayout();
    rows->setSpacing(16);
    versionRow_ = new VersionRow([this] { c_.spacingDebug.handleVersionTap(); }, page);
    rows->addWidget(versionRow_);
    rows->addWidget(Separator::divider(page));
    rows->addWidget(buildUninstallRow());
    page->column()->addLayout(rows);

    presenter_ = std::make_unique<SheetPresenter>(*this, showUninstallSheet, [this] {
        return std::make_unique<UninstallConfirmationSheet>(
            showUninstallSheet,
            UninstallConfirmationSheet::Collaborators{c_.appState, c_.loop, c_.uninstall});
    });
    followUninstalling(c_.appState.isUninstalling.get());
    observation_ = c_.appState.isUninstalling.observe(
        [this](bool uninstalling) { followUninstalling(uninstalling); });
}

SettingsView::~SettingsView() = default;

QWidget* SettingsView::buildUninstallRow() {
    auto* row = new QWidget();
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* texts = new QVBoxLayout();
    texts->setSpacing(4);
    texts->addWidget(
        themedLabel(QStringLiteral("Désinstaller Olvane"), Theme::fontMedium14(), row));
    texts->addWidget(themedLabel(QStringLiteral("Désactiver toutes les fonctionnalités\nSupprimer "
                                                "Olvane et toutes ses données de cet ordinateur"),
                                 Theme::fontRegular14(), row));
    layout->addLayout(texts);
    layout->addStretch(1);
    uninstallButton_ = new LabelButton(QStringLiteral("Désinstaller"),
                                       {.font = Theme::fontRegular14(),
                                        .textColor = Theme::black(),
                                        .fill = Theme::white(),
                                        .outline = Theme::black(),
                                        .paddingH = 16,
                                        .paddingV = 8,
                                        .shadow = std::nullopt},
                                       row);
    connect(uninstallButton_, &QAbstractButton::clicked, this,
            [this] { showUninstallSheet.set(true); });
    layout->addWidget(uninstallButton_, 0, Qt::AlignVCenter);
    return row;
}

UninstallConfirmationSheet* SettingsView::sheet() const {
    return qobject_cast<UninstallConfirmationSheet*>(presenter_->sheet());
}

void SettingsView::followUninstalling(bool uninstalling) {
    uninstallButton_->setEnabled(!uninstalling);
}

}  // namespace olvane::ui
