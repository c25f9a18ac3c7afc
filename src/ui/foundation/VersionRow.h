#pragma once

#include <QWidget>
#include <functional>

class QLabel;

namespace olvane::ui {

// "Version", then the version number at the trailing edge. A tap on the number, and only on it,
// runs `onVersionTap` (the switch of spacing debug).
class VersionRow final : public QWidget {
    Q_OBJECT

  public:
    static constexpr const char* kVersion = "1.0.0";

    explicit VersionRow(std::function<void()> onVersionTap, QWidget* parent = nullptr);

    QLabel* versionNumber() const { return number_; }

  private:
    QLabel* number_;
};

}  // namespace olvane::ui
