#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "platform/Observable.h"
#include "ui/foundation/Theme.h"

namespace olvane::ui {

// Shows a sheet over a window while a flag of the caller is true: a frameless dialog of the
// sheet's size, modal for that window, centred on it, with a shadow (the theme's large one
// unless the sheet asks for its own). The sheet closes by clearing the flag; Escape and the
// window manager's close do the same, so the flag is never left set while nothing shows.
class SheetPresenter final : public QObject {
    Q_OBJECT

  public:
    // Builds the sheet each time the flag turns true.
    using Builder = std::function<std::unique_ptr<QWidget>()>;

    // The shadow the sheet casts; a sheet with rounded corners paints its own card and gives
    // their radius, which the shadow follows.
    struct Frame {
        Theme::Shadow shadow;
        qreal cornerRadius;
    };
    static Frame largeShadow() { return {Theme::shadowBlack15Large(), 0}; }

    SheetPresenter(QWidget& host, platform::Observable<bool>& isPresented, Builder build,
                   Frame frame = largeShadow());
    ~SheetPresenter() override;

    // The sheet on screen; null while none is.
    QWidget* sheet() const { return sheet_; }
    QDialog* dialog() const { return dialog_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void present(bool presented);
    void show();
    void close();
    void centre();

    QPointer<QWidget> host_;
    platform::Observable<bool>& isPresented_;
    Builder build_;
    Frame frame_;
    QPointer<QDialog> dialog_;
    QPointer<QWidget> sheet_;
    platform::Handle observation_;
};

}  // namespace olvane::ui
