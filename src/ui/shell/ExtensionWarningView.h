#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

#include "model/BrowserType.h"

namespace olvane::ui {

class ActionButton;

// The content of the warning under the status icon: a browser runs without our extension, so
// the web features will not work there. "Gérer les extensions" (Return) leads to the extensions
// page, "Plus tard" (Escape) dismisses; the view only calls the actions, once per click.
class ExtensionWarningView final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int kCardWidth = 320;
    static constexpr int kPadding = 20;
    // Room for the card's shadow, inside the panel.
    static constexpr int kShadowRoom = 12;

    ExtensionWarningView(BrowserType browser, std::function<void()> onManage,
                         std::function<void()> onLater, QWidget* parent = nullptr);

    static QString title();
    static QString message(BrowserType browser);

    BrowserType browser() const { return browser_; }
    // Without a compositing manager no shadow can show: the card gets a faint outline instead,
    // and its window is cut to it.
    void setShadowed(bool shadowed);
    // The card, inside the room for its shadow.
    QRect cardRect() const;
    ActionButton* manageButton() const { return manage_; }
    ActionButton* laterButton() const { return later_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    BrowserType browser_;
    std::function<void()> onManage_;
    std::function<void()> onLater_;
    ActionButton* manage_;
    ActionButton* later_;
    bool shadowed_ = true;
    QImage shadow_;
    QSize shadowSize_;
};

}  // namespace olvane::ui
