#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <string>

namespace olvane::ui {

class ThemedTextField;

// A text field behind a symbol, in a white rounded frame outlined in black at 20 %: the typing
// rows of the sheets.
class FramedField final : public QWidget {
    Q_OBJECT

  public:
    FramedField(const std::string& symbol, qreal symbolSize, const QString& placeholder,
                std::function<void()> onSubmit = {}, QWidget* parent = nullptr);

    ThemedTextField* field() const { return field_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    ThemedTextField* field_;
};

}  // namespace olvane::ui
