#include "ui/foundation/PopoverPresenter.h"

#include <QEvent>

#include "ui/foundation/PopoverWindow.h"

namespace olvane::ui {
namespace {

// Runs `onHide` when the anchor leaves the screen (its page goes, its window hides).
class HideWatch final : public QObject {
  public:
    HideWatch(QWidget* anchor, std::function<void()> onHide)
        : QObject(anchor), onHide_(std::move(onHide)) {
        anchor->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide && onHide_) {
            onHide_();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    std::function<void()> onHide_;
};

}  // namespace

PopoverPresenter::PopoverPresenter(QWidget* anchor, platform::Observable<bool>& isPresented,
                                   Kind kind, ContentFactory content)
    : anchor_(anchor), isPresented_(isPresented), kind_(kind), content_(std::move(content)) {
    observation_ = isPresented_.observe([this](bool shown) { shown ? present() : dismiss(); });
    anchorWatch_ = new HideWatch(anchor, [this] { isPresented_.set(false); });
    if (isPresented_.get()) {
        present();
    }
}

PopoverPresenter::~PopoverPresenter() {
    delete anchorWatch_.data();
    dismiss();
}

QWidget* PopoverPresenter::popover() const {
    return window_.data();
}

void PopoverPresenter::present() {
    if (window_ || !anchor_ || !anchor_->isVisible()) {
        return;
    }
    window_ = new PopoverWindow(anchor_, content_(), kind_ == Kind::click);
    window_->setOnClosed([this] { closedFromOutside(); });
    window_->showUnderAnchor();
}

void PopoverPresenter::dismiss() {
    if (auto* window = window_.data()) {
        window_ = nullptr;
        window->dismiss();
        // It may be the window whose event is running now.
        window->deleteLater();
    }
}

void PopoverPresenter::closedFromOutside() {
    if (auto* window = window_.data()) {
        window_ = nullptr;
        window->deleteLater();
    }
    isPresented_.set(false);
}

}  // namespace olvane::ui
