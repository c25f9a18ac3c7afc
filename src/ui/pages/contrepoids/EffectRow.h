#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QLabel;

namespace olvane::ui {

class EffectTestButton;
class SymbolView;

// One effect of the "Présentation" section: its symbol, name and description, and the button
// that tests it for five seconds or, while any test runs for it, cancels the tests. The button
// and the symbol line up with the description's middle.
class EffectRow final : public QWidget {
    Q_OBJECT

  public:
    EffectRow(const QString& name, const std::string& iconName, const QString& description,
              std::function<void()> onTest, std::function<void()> onCancel,
              QWidget* parent = nullptr);

    void setTesting(bool testing, std::int64_t remainingSeconds);
    EffectTestButton* testButton() const { return button_; }
    QString name() const;
    QString description() const;

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

  private:
    struct Placement {
        QRect icon;
        QRect title;
        QRect description;
        QRect button;
        int height;
    };
    Placement place(int width) const;
    void layOut();
    // The spacing-debug parts of the row, made only while the mode is on.
    void addDebugMarkers();
    void placeDebugMarkers(const Placement& placement);

    SymbolView* icon_;
    QLabel* title_;
    QLabel* description_;
    EffectTestButton* button_;
    struct DebugMarkers {
        QWidget* rowPadding;
        QWidget* iconTextGroup;
        QWidget* textContent;
        QWidget* titleGap;
        QWidget* spacer;
        QWidget* buttonPaddingV;
        QWidget* buttonPaddingH;
    };
    std::optional<DebugMarkers> markers_;
};

}  // namespace olvane::ui
