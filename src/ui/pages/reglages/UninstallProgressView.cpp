#include "ui/pages/reglages/UninstallProgressView.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ui/foundation/LogoView.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/pages/reglages/CrossFadeLabel.h"

namespace olvane::ui {
namespace {

constexpr int kLogoSide = 80;

}  // namespace

UninstallProgressView::UninstallProgressView(platform::Observable<std::string>& currentStepLabel,
                                             QWidget* parent)
    : QWidget(parent),
      step_(new CrossFadeLabel(QString::fromStdString(currentStepLabel.get()),
                               Theme::fontRegular14(), this)) {
    setObjectName(QStringLiteral("uninstall"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Theme::white());
    setPalette(palette);

    auto* column = new QVBoxLayout(this);
    column->setSpacing(0);
    column->addStretch(1);
    column->addWidget(new LogoView(kLogoSide, this), 0, Qt::AlignHCenter);
    column->addSpacing(24);
    QFont titleFont = Theme::fontMedium32();
    titleFont.setLetterSpacing(QFont::AbsoluteSpacing, -0.5);
    auto* title = themedLabel(QStringLiteral("Désinstallation en cours"), titleFont, this);
    title->setAlignment(Qt::AlignHCenter);
    column->addWidget(title);
    column->addSpacing(12);
    column->addWidget(step_);
    column->addStretch(1);

    showStep(currentStepLabel.get());
    observation_ = currentStepLabel.observe([this](const std::string& label) { showStep(label); });
}

QString UninstallProgressView::stepLabel() const {
    return step_->text();
}

void UninstallProgressView::showStep(const std::string& label) {
    const QString text = QString::fromStdString(label);
    step_->setText(text);
    // The prefix is read out, not shown.
    step_->setAccessibleName(QStringLiteral("Étape en cours : ") + text);
}

}  // namespace olvane::ui
