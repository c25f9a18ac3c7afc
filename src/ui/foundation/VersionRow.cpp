#include "ui/foundation/VersionRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"

namespace olvane::ui {
namespace {

// A text that reports each click released on it; quick clicks count one by one, never as a
// double click.
class TappableLabel final : public QLabel {
  public:
    TappableLabel(const QString& text, std::function<void()> onTap, QWidget* parent)
        : QLabel(text, parent), onTap_(std::move(onTap)) {}

  protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
            onTap_) {
            onTap_();
        }
    }

  private:
    std::function<void()> onTap_;
};

}  // namespace

VersionRow::VersionRow(std::function<void()> onVersionTap, QWidget* parent) : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(themedLabel(QStringLiteral("Version"), Theme::fontRegular14(), this));
    row->addStretch(1);
    number_ = new TappableLabel(QString::fromLatin1(kVersion), std::move(onVersionTap), this);
    number_->setFont(Theme::fontRegular14());
    number_->setTextFormat(Qt::PlainText);
    setTextColor(number_, Theme::textPrimary());
    row->addWidget(number_);
}

}  // namespace olvane::ui
