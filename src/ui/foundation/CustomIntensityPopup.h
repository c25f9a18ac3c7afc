#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>

class QAbstractButton;

namespace olvane::ui {

// The frame of the custom-value editors: a title, the editor's own controls (one widget, which
// lays out its parts 16 points apart), then "Annuler" and
// "Appliquer" sharing the width. A white panel 400 points wide with the theme's card shadow; the
// widget keeps room around the panel for the shadow. It keeps no state: the caller shows it and
// hides it from its two actions.
class CustomIntensityPopup final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kWidth = 400;

    CustomIntensityPopup(const QString& title, QWidget* content, std::function<void()> onApply,
                         std::function<void()> onCancel, QWidget* parent = nullptr);

    // The panel inside the widget (the shadow lies around it).
    QRect panelRect() const;
    // Without its shadow the panel fills the widget: for a sheet whose window casts the shadow.
    void setShadowed(bool shadowed);
    bool isShadowed() const { return margin_ > 0; }
    QAbstractButton* cancelButton() const { return cancel_; }
    QAbstractButton* applyButton() const { return apply_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void applyMargin();

    int margin_;
    QAbstractButton* cancel_;
    QAbstractButton* apply_;
    QImage shadow_;
    QSize shadowSize_;
};

}  // namespace olvane::ui
