#pragma once

#include <QLineEdit>
#include <functional>

namespace olvane::ui {

// The application's text field: no border or background, the theme's regular 14-point text in
// black, a black placeholder that goes with the first character, Return calling `onSubmit`.
class ThemedTextField final : public QLineEdit {
    Q_OBJECT

  public:
    explicit ThemedTextField(const QString& placeholder, std::function<void()> onSubmit = {},
                             QWidget* parent = nullptr);
};

}  // namespace olvane::ui
