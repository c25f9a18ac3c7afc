#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

class QAbstractButton;

namespace olvane::ui {

// One numbered step of an installation guide: "n." in digits of equal width, then the step's
// text, where the first occurrence of the link phrase is an underlined button.
class GuideStepRow final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kSpacing = 8;

    GuideStepRow(int number, const QString& text, const std::optional<QString>& linkPhrase,
                 std::function<void()> onPrimaryAction, QWidget* parent = nullptr);

    int number() const { return number_; }
    // Null when the step has no link phrase or its text does not hold it.
    QAbstractButton* link() const { return link_; }

  private:
    int number_;
    QAbstractButton* link_ = nullptr;
};

}  // namespace olvane::ui
