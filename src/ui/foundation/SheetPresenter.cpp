#include "ui/foundation/SheetPresenter.h"

#include <QDialog>
#include <QEvent>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/DropShadow.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/WindowCompositing.h"

namespace olvane::ui {
namespace {

// The window of a sheet: the sheet, its shadow around it where the desktop composites
// translucent windows, else a faint outline. Every way of closing it goes through `dismiss`.
class SheetDialog final : public QDialog {
  public:
    SheetDialog(QWidget* parent, std::unique_ptr<QWidget> sheet, SheetPresenter::Frame frame,
                std::function<void()> dismiss)
        : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint),
          dismiss_(std::move(dismiss)),
          shadowed_(translucentWindowsAreComposited()),
          shadowColor_(frame.shadow.color) {
        setWindowModality(Qt::WindowModal);
        setAttribute(Qt::WA_TranslucentBackground, shadowed_);
        const QSize size = sheet->sizeHint().expandedTo(sheet->minimumSize());
        sheet->setFixedSize(size);
        const int margin = shadowed_ ? DropShadow::margin(frame.shadow) : 1;
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(margin, margin, margin, margin);
        layout->addWidget(sheet.release());
        setFixedSize(size + QSize(2 * margin, 2 * margin));
        if (shadowed_) {
            shadow_ =
                DropShadow::render(size, frame.shadow, devicePixelRatioF(), frame.cornerRadius);
        }
    }

    void reject() override { dismiss_(); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (shadowed_) {
            painter.drawImage(QPointF(0, 0), shadow_);
        } else {
            painter.fillRect(rect(), shadowColor_);
        }
    }

  private:
    std::function<void()> dismiss_;
    bool shadowed_;
    QColor shadowColor_;
    QImage shadow_;
};

}  // namespace

SheetPresenter::SheetPresenter(QWidget& host, platform::Observable<bool>& isPresented,
                               Builder build, Frame frame)
    : host_(&host), isPresented_(isPresented), build_(std::move(build)), frame_(frame) {
    observation_ = isPresented_.observe([this](bool presented) { present(presented); });
    present(isPresented_.get());
}

SheetPresenter::~SheetPresenter() {
    observation_.cancel();
    delete dialog_.data();
}

void SheetPresenter::present(bool presented) {
    if (presented) {
        show();
    } else {
        close();
    }
}

void SheetPresenter::show() {
    if (dialog_ || !host_) {
        return;
    }
    auto sheet = build_();
    if (!sheet) {
        isPresented_.set(false);
        return;
    }
    sheet_ = sheet.get();
    QWidget* window = host_->window();
    dialog_ =
        new SheetDialog(window, std::move(sheet), frame_, [this] { isPresented_.set(false); });
    window->installEventFilter(this);
    centre();
    dialog_->show();
    dialog_->activateWindow();
}

void SheetPresenter::close() {
    if (host_) {
        host_->window()->removeEventFilter(this);
    }
    if (dialog_) {
        // Possibly from inside one of the dialog's own events (Escape, the close button).
        dialog_->hide();
        dialog_->deleteLater();
    }
    dialog_ = nullptr;
    sheet_ = nullptr;
}

void SheetPresenter::centre() {
    if (!dialog_ || !host_) {
        return;
    }
    const QRect window = host_->window()->geometry();
    dialog_->move(window.topLeft() + QPoint((window.width() - dialog_->width()) / 2,
                                            (window.height() - dialog_->height()) / 2));
}

bool SheetPresenter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Move || event->type() == QEvent::Resize) {
        centre();
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace olvane::ui
