#pragma once

#include <QWidget>
#include <string>

#include "platform/Handle.h"
#include "platform/Observable.h"

namespace olvane::ui {

class CrossFadeLabel;

// The whole window while the uninstall runs: the logo, "Désinstallation en cours" and the step
// under way, which follows the uninstall until the program ends. No button, no way back.
class UninstallProgressView final : public QWidget {
    Q_OBJECT

  public:
    explicit UninstallProgressView(platform::Observable<std::string>& currentStepLabel,
                                   QWidget* parent = nullptr);

    QString stepLabel() const;

  private:
    void showStep(const std::string& label);

    CrossFadeLabel* step_;
    platform::Handle observation_;
};

}  // namespace olvane::ui
