#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

#include "platform/Handle.h"
#include "platform/Observable.h"

namespace olvane::ui {

class PopoverWindow;

// The one way the interface shows a popover: while the owner's flag is true, a frameless white
// card (radius 8, outline 1.5, no arrow) stands under its anchor with a new content. A hover
// popover never takes the focus nor the pointer, so the anchor keeps its hover. A click popover
// closes on Escape or on a click outside it, and then clears the flag, so the next click on its
// button opens it again; a click on the anchor itself only closes it. Declare the presenter
// after the flag it watches.
class PopoverPresenter final {
  public:
    enum class Kind { hover, click };
    // Makes the content anew each time the popover opens; the popover owns it.
    using ContentFactory = std::function<QWidget*()>;

    PopoverPresenter(QWidget* anchor, platform::Observable<bool>& isPresented, Kind kind,
                     ContentFactory content);
    ~PopoverPresenter();
    PopoverPresenter(const PopoverPresenter&) = delete;
    PopoverPresenter& operator=(const PopoverPresenter&) = delete;

    // The popover on screen; null while none is.
    QWidget* popover() const;

  private:
    void present();
    void dismiss();
    void closedFromOutside();

    QPointer<QWidget> anchor_;
    platform::Observable<bool>& isPresented_;
    Kind kind_;
    ContentFactory content_;
    QPointer<PopoverWindow> window_;
    platform::Handle observation_;
    QPointer<QObject> anchorWatch_;
};

}  // namespace olvane::ui
