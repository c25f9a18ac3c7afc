#include "ui/foundation/SitePickerSheet.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/FramedField.h"
#include "ui/foundation/HoverButton.h"
#include "ui/foundation/InfoTooltip.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/SheetHeader.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedTextField.h"

namespace olvane::ui {
namespace {

bool isSpaceOrTab(QChar c) {
    return c == QLatin1Char('\t') || c.category() == QChar::Separator_Space;
}

}  // namespace

// "Ajouter": white on black while the text can be added, black on white and still otherwise.
class SitePickerSheet::AddButton final : public HoverButton {
  public:
    explicit AddButton(QWidget* parent) : HoverButton(parent) {
        setText(QStringLiteral("Ajouter"));
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override {
        return {QFontMetrics(Theme::fontMedium14()).horizontalAdvance(text()),
                QFontMetrics(Theme::fontMedium14()).height() + 24};
    }

  protected:
    void paintContent(QPainter& painter) override {
        const bool active = isEnabled();
        painter.fillPath(RoundedShape::continuous(QRectF(rect()), Theme::cornerRadius),
                         active ? Theme::black() : Theme::white());
        painter.setFont(Theme::fontMedium14());
        painter.setPen(active ? Theme::white() : Theme::black());
        painter.drawText(rect(), Qt::AlignCenter, text());
    }
};

SitePickerSheet::SitePickerSheet(platform::Observable<bool>& isPresented,
                                 std::function<void(const std::string&)> onAdd, QWidget* parent)
    : QWidget(parent),
      isPresented_(isPresented),
      onAdd_(std::move(onAdd)),
      header_(new SheetHeader(
          QStringLiteral("Ajouter un site web"), [this] { isPresented_.set(false); }, this)),
      add_(new AddButton(this)) {
    setFixedSize(kSize);
    auto* frame = new FramedField(
        "globe", 14, QStringLiteral("ex : instagram.com"), [this] { addSite(); }, this);
    field_ = frame->field();

    auto* input = new QHBoxLayout;
    input->setContentsMargins(20, 0, 20, 0);
    input->setSpacing(16);
    input->addWidget(frame, 1);
    input->addWidget(new InfoTooltip(QString::fromUtf8(kHint), 18, this), 0, Qt::AlignVCenter);

    auto* button = new QVBoxLayout;
    button->setContentsMargins(20, 20, 20, 20);
    button->addWidget(add_);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(header_);
    column->addLayout(input);
    column->addStretch(1);
    column->addLayout(button);

    connect(add_, &QAbstractButton::clicked, this, [this] { addSite(); });
    connect(field_, &QLineEdit::textChanged, this, [this] { inputChanged(); });
    inputChanged();
    setFocusProxy(field_);
}

QString SitePickerSheet::cleaned(const QString& typed) {
    qsizetype begin = 0;
    qsizetype end = typed.size();
    while (begin < end && isSpaceOrTab(typed.at(begin))) {
        ++begin;
    }
    while (end > begin && isSpaceOrTab(typed.at(end - 1))) {
        --end;
    }
    return typed.mid(begin, end - begin).toLower();
}

bool SitePickerSheet::isInputValid() const {
    return !cleaned(field_->text()).isEmpty();
}

void SitePickerSheet::addSite() {
    if (!isInputValid()) {
        return;
    }
    const std::string site = cleaned(field_->text()).toStdString();
    if (onAdd_) {
        onAdd_(site);
    }
    isPresented_.set(false);
}

QAbstractButton* SitePickerSheet::addButton() const {
    return add_;
}

void SitePickerSheet::inputChanged() {
    const bool valid = isInputValid();
    add_->setEnabled(valid);
    add_->setHoverScaleEnabled(valid);
    add_->update();
}

void SitePickerSheet::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), Theme::white());
}

}  // namespace olvane::ui
