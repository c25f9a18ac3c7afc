#include "ui/pages/reglages/UninstallConfirmationSheet.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "ui/foundation/HoverableIconButton.h"
#include "ui/foundation/LabelButton.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/Separator.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/foundation/ThemedTextField.h"
#include "ui/foundation/WrappingLabel.h"
#include "ui/pages/reglages/UninstallPhrase.h"

namespace olvane::ui {
namespace {

constexpr int kPadding = 24;
constexpr int kFieldPadding = 12;
constexpr int kLineSpacing = 4;

QLabel* text(const QString& text, QWidget* parent) {
    auto* label = new WrappingLabel(text, parent);
    label->setFont(Theme::fontRegular14());
    setTextColor(label, Theme::black());
    return label;
}

// Wrapped text with `kLineSpacing` more between its lines.
QLabel* spacedText(const QString& text, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setFont(Theme::fontRegular14());
    label->setText(QStringLiteral("<div style=\"-qt-line-height-type: line-distance; "
                                  "line-height: %1px;\">%2</div>")
                       .arg(kLineSpacing)
                       .arg(text.toHtmlEscaped()));
    label->setAccessibleName(text);
    setTextColor(label, Theme::black());
    return label;
}

// The white rounded box around the field, outlined in black at 20 %.
class FieldBox final : public QWidget {
  public:
    FieldBox(QWidget* field, QWidget* parent) : QWidget(parent) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(kFieldPadding, kFieldPadding, kFieldPadding, kFieldPadding);
        field->setParent(this);
        layout->addWidget(field);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPainterPath shape = RoundedShape::continuous(
            QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), Theme::cornerRadius);
        painter.fillPath(shape, Theme::white());
        painter.strokePath(shape, QPen(Theme::withOpacity(Theme::black(), 0.2), 1));
    }
};

}  // namespace

QStringList UninstallConfirmationSheet::uninstallConsequences() {
    return {QStringLiteral("Retirer le filtre noir et blanc"),
            QStringLiteral("Désactiver les Contrepoids"),
            QStringLiteral("Désactiver les extensions de navigateur"),
            QStringLiteral("Effacer tous vos réglages"),
            QStringLiteral("Arrêter le service Olvane en arrière-plan"),
            QStringLiteral("Déplacer l'application vers la Corbeille")};
}

UninstallConfirmationSheet::UninstallConfirmationSheet(platform::Observable<bool>& isPresented,
                                                       Collaborators collaborators, QWidget* parent)
    : QScrollArea(parent), isPresented_(isPresented), c_(std::move(collaborators)) {
    setObjectName(QStringLiteral("uninstallConfirmation"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Theme::white());
    setPalette(palette);
    viewport()->setAutoFillBackground(true);
    viewport()->setPalette(palette);
    setWidget(buildContent());
    setFixedWidth(kWidth);
    phraseChanged();
}

QWidget* UninstallConfirmationSheet::buildContent() {
    auto* content = new QWidget();
    content->setAutoFillBackground(true);
    content->setPalette(palette());
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    column->setSpacing(0);
    column->addWidget(buildHeader(content));
    column->addSpacing(20);
    column->addWidget(text(QStringLiteral("Cette action va :"), content));
    column->addSpacing(12);
    column->addWidget(buildConsequences(content));
    column->addSpacing(8 + 16);
    column->addWidget(Separator::divider(content));
    column->addWidget(spacedText(
        QStringLiteral("Il vous restera à supprimer manuellement les extensions de navigateur"),
        content));
    column->addSpacing(16);
    column->addWidget(Separator::divider(content));
    column->addSpacing(16);
    column->addWidget(buildPrompt(content));
    column->addSpacing(12);
    column->addWidget(buildField(content));
    column->addSpacing(20 + 12);
    column->addLayout(buildButtons(content));
    return content;
}

QWidget* UninstallConfirmationSheet::buildHeader(QWidget* parent) {
    auto* header = new QWidget(parent);
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    QFont font = Theme::fontSemibold14();
    // Shown in capitals; the text itself keeps its case.
    font.setCapitalization(QFont::AllUppercase);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.0);
    row->addWidget(themedLabel(QStringLiteral("Désinstaller Olvane"), font, header), 0,
                   Qt::AlignVCenter);
    row->addStretch(1);
    close_ = new HoverableIconButton(
        "xmark", [this] { isPresented_.set(false); }, Theme::black(), 14, false,
        QStringLiteral("Fermer sans désinstaller"), header);
    row->addWidget(close_, 0, Qt::AlignVCenter);
    return header;
}

QWidget* UninstallConfirmationSheet::buildConsequences(QWidget* parent) {
    auto* list = new QWidget(parent);
    auto* column = new QVBoxLayout(list);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(8);
    const QString bullet = QStringLiteral("◦");
    for (const QString& line : uninstallConsequences()) {
        auto* entry = new QWidget(list);
        auto* row = new QHBoxLayout(entry);
        row->setContentsMargins(0, 0, 0, 0);
        row->setSpacing(8);
        row->addWidget(themedLabel(bullet, Theme::fontRegular14(), entry), 0, Qt::AlignTop);
        row->addWidget(text(line, entry), 1, Qt::AlignTop);
        entry->setAccessibleName(bullet + QLatin1Char(' ') + line);
        column->addWidget(entry);
    }
    return list;
}

QWidget* UninstallConfirmationSheet::buildPrompt(QWidget* parent) {
    auto* prompt = new QWidget(parent);
    auto* column = new QVBoxLayout(prompt);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    const QString invitation = QStringLiteral("Pour confirmer, saisis :");
    column->addWidget(text(invitation, prompt));
    column->addWidget(text(UninstallPhrase::requiredPhrase(), prompt));
    prompt->setAccessibleName(invitation + QLatin1Char(' ') + UninstallPhrase::requiredPhrase());
    return prompt;
}

QWidget* UninstallConfirmationSheet::buildField(QWidget* parent) {
    field_ = new ThemedTextField(UninstallPhrase::requiredPhrase(), [this] {
        if (uninstall_->isEnabled()) {
            uninstall_->click();
        }
    });
    field_->setAccessibleName(QStringLiteral("Pour confirmer, saisis :"));
    field_->setAccessibleDescription(
        QStringLiteral("Recopie la phrase ci-dessus pour activer le bouton Désinstaller"));
    connect(field_, &QLineEdit::textChanged, this, [this] { phraseChanged(); });
    return new FieldBox(field_, parent);
}

QLayout* UninstallConfirmationSheet::buildButtons(QWidget* parent) {
    auto* row = new QHBoxLayout();
    row->setSpacing(12);
    row->addStretch(1);
    cancel_ = new LabelButton(QStringLiteral("Annuler"),
                              {.font = Theme::fontRegular14(),
                               .textColor = Theme::black(),
                               .fill = Theme::white(),
                               .outline = Theme::black(),
                               .paddingH = 16,
                               .paddingV = 10,
                               .shadow = std::nullopt},
                              parent);
    connect(cancel_, &QAbstractButton::clicked, this, [this] { isPresented_.set(false); });
    row->addWidget(cancel_);
    uninstall_ = new LabelButton(QStringLiteral("Désinstaller"),
                                 {.font = Theme::fontRegular14(),
                                  .textColor = Theme::white(),
                                  .fill = Theme::black(),
                                  .outline = std::nullopt,
                                  .paddingH = 16,
                                  .paddingV = 10,
                                  .shadow = Theme::shadowBlack15Large()},
                                 parent);
    connect(uninstall_, &QAbstractButton::clicked, this, [this] { confirmUninstall(); });
    row->addWidget(uninstall_);
    return row;
}

bool UninstallConfirmationSheet::isPhraseMatching() const {
    return UninstallPhrase::isPhraseMatching(field_->text());
}

void UninstallConfirmationSheet::phraseChanged() {
    const bool matching = isPhraseMatching();
    uninstall_->setEnabled(matching);
    uninstall_->setHoverScaleEnabled(matching);
    uninstall_->setAccessibleDescription(
        matching ? QStringLiteral("Action irréversible. Lance la désinstallation complète.")
                 : QStringLiteral("Désactivé. Recopie d'abord la phrase ci-dessus."));
}

void UninstallConfirmationSheet::confirmUninstall() {
    if (!isPhraseMatching()) {
        return;
    }
    c_.appState.isUninstalling.set(true);
    isPresented_.set(false);
    // Not tied to the sheet, which goes away at once: the uninstall must start all the same.
    c_.loop.postFromAnyThread([uninstall = c_.uninstall] { uninstall(); });
}

QSize UninstallConfirmationSheet::sizeHint() const {
    const QWidget* content = widget();
    const int height = content->hasHeightForWidth() ? content->heightForWidth(kWidth)
                                                    : content->sizeHint().height();
    return {kWidth, std::min(kMaxHeight, height)};
}

void UninstallConfirmationSheet::showEvent(QShowEvent* event) {
    QScrollArea::showEvent(event);
    focusTimer_ = c_.loop.after(platform::seconds(kFocusDelaySeconds),
                                [this] { field_->setFocus(Qt::OtherFocusReason); });
}

}  // namespace olvane::ui
