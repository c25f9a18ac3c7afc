#include "ui/pages/extensions/BrowserExtensionCard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

#include "ui/foundation/Animations.h"
#include "ui/foundation/HoverButton.h"
#include "ui/foundation/IconImage.h"
#include "ui/foundation/InfoTooltip.h"
#include "ui/foundation/RoundedOutline.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/StatusDot.h"
#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/pages/extensions/ExtensionsViewModel.h"
#include "ui/pages/extensions/GuideStepRow.h"

namespace olvane::ui {
namespace {

constexpr int kPadding = 16;
constexpr int kHeaderRowsSpacing = 16;
constexpr int kIconSide = 24;
constexpr int kRowSpacing = 12;
constexpr int kStatusSpacing = 8;
constexpr int kStepSpacing = 8;
constexpr int kToggleSpacing = 8;
constexpr qreal kChevronSize = 12;
constexpr qreal kInfoSize = 14;
// The guide toggle spans the card; growing under the pointer moves its ends by a few points,
// so it reaches this far into the padding to keep its text whole.
constexpr int kHoverRoom = 6;
constexpr qreal kClosedBorder = 1.0;
constexpr qreal kOpenBorder = 1.5;

const char* const kInfoText =
    "Une extension est connectée lorsqu'elle est installée et que son navigateur est ouvert.";

qreal interpolate(qreal from, qreal to, qreal progress) {
    return from + (to - from) * progress;
}

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString firefoxFirstStep() {
    return QStringLiteral("Ouvre la fiche Olvane sur %1.")
        .arg(QString::fromLatin1(ExtensionsViewModel::kFirefoxStoreHost));
}

bool showsInfo(ExtensionStatus status) {
    return status == ExtensionStatus::notDetected || status == ExtensionStatus::browserNotRunning;
}

}  // namespace

// The block behind the header rows: black while connected, white otherwise; its lower corners
// square off while the guide shows under it.
class BrowserExtensionCard::Header final : public QWidget {
  public:
    explicit Header(BrowserExtensionCard& card) : QWidget(&card), card_(card) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal top = Theme::cornerRadius;
        const qreal bottom = card_.headerBottomRadius();
        painter.fillPath(RoundedShape::continuous(rect(), top, bottom, bottom, top),
                         card_.headerFill());
    }

  private:
    BrowserExtensionCard& card_;
};

// The browser's icon in grey tones, or the "globe" symbol while there is none.
class BrowserExtensionCard::Icon final : public QWidget {
  public:
    explicit Icon(QWidget* parent) : QWidget(parent) { setFixedSize(kIconSide, kIconSide); }

    void set(const QImage& icon, const QColor& symbolColor) {
        grey_ = IconImage::desaturated(icon);
        symbolColor_ = symbolColor;
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        if (!grey_.isNull()) {
            painter.drawImage(IconImage::fittedIn(grey_, rect()), grey_);
        } else {
            SymbolPainter::paint(painter, rect(), "globe", kIconSide, symbolColor_);
        }
    }

  private:
    QImage grey_;
    QColor symbolColor_;
};

// "Guide d'installation" and its chevron; the whole row is the click target.
class BrowserExtensionCard::GuideToggle final : public HoverButton {
  public:
    explicit GuideToggle(QWidget* parent) : HoverButton(parent) {
        setText(QStringLiteral("Guide d'installation"));
        setAccessibleName(text());
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setFixedHeight(std::max(QFontMetrics(Theme::fontRegular14()).height(),
                                SymbolPainter::boxSide(kChevronSize)));
        setExpanded(false);
    }

    void setExpanded(bool expanded) {
        expanded_ = expanded;
        setAccessibleDescription(expanded ? QStringLiteral("développé") : QStringLiteral("réduit"));
        update();
    }

  protected:
    // The row spans the card: grown about its middle, the text would slide left.
    QPointF scaleAnchor() const override { return {kHoverRoom, height() / 2.0}; }

    void paintContent(QPainter& painter) override {
        painter.setFont(Theme::fontRegular14());
        painter.setPen(Theme::black());
        const qreal textWidth = QFontMetricsF(painter.font()).horizontalAdvance(text());
        painter.drawText(QRectF(kHoverRoom, 0, textWidth + 1, height()),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
        const qreal side = SymbolPainter::boxSide(kChevronSize);
        SymbolPainter::paint(
            painter,
            QRectF(kHoverRoom + textWidth + kToggleSpacing, (height() - side) / 2, side, side),
            expanded_ ? "chevron.up" : "chevron.down", kChevronSize, Theme::black());
    }

  private:
    bool expanded_ = false;
};

const std::vector<BrowserExtensionCard::GuideStep>& BrowserExtensionCard::guideSteps(
    BrowserType browser) {
    static const std::vector<GuideStep> firefox{
        {firefoxFirstStep(), QString::fromLatin1(ExtensionsViewModel::kFirefoxStoreHost)},
        {QStringLiteral("Clique sur « Ajouter à Firefox », puis confirme « Ajouter »."), {}},
        {QStringLiteral("Si Firefox demande l'accès aux sites, autorise-le."), {}},
    };
    static const std::vector<GuideStep> safari{
        {QStringLiteral("Ouvre Safari, puis Réglages → Extensions."),
         QStringLiteral("Réglages → Extensions")},
        {QStringLiteral("Coche la case en regard de Olvane."), {}},
        {QStringLiteral("Clique sur « Modifier les sites web… », puis règle « Pour les autres "
                        "sites web » sur « Autoriser »."),
         {}},
    };
    static const std::vector<GuideStep> chrome{
        {QStringLiteral("Ouvre la fiche Olvane sur le Chrome Web Store."),
         QStringLiteral("Chrome Web Store")},
        {QStringLiteral("Clique sur « Ajouter à Chrome », puis confirme « Ajouter l'extension »."),
         {}},
        {QStringLiteral("Facultatif : épingle Olvane via l'icône pièce de puzzle."), {}},
    };
    switch (browser) {
        case BrowserType::firefox:
            return firefox;
        case BrowserType::safari:
            return safari;
        case BrowserType::chrome:
            return chrome;
    }
    return chrome;
}

QString BrowserExtensionCard::statusText(ExtensionStatus status) {
    switch (status) {
        case ExtensionStatus::connected:
            return QStringLiteral("Extension connectée");
        case ExtensionStatus::notDetected:
        case ExtensionStatus::browserNotRunning:
            return QStringLiteral("Extension non connectée");
        case ExtensionStatus::connecting:
            return QStringLiteral("Connexion…");
    }
    return {};
}

BrowserExtensionCard::BrowserExtensionCard(BrowserType browser, ExtensionStatus status,
                                           const QImage& appIcon, bool isGuideExpanded,
                                           std::function<void()> onToggleGuide,
                                           std::function<void()> onPrimaryAction, QWidget* parent)
    : QWidget(parent),
      browser_(browser),
      status_(status),
      appIcon_(appIcon),
      guideExpanded_(isGuideExpanded),
      openness_(0),
      header_(new Header(*this)),
      guideToggle_(new GuideToggle(header_)),
      guide_(new QWidget(this)) {
    setObjectName(fromView(rawValue(browser)));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(header_);
    column->addWidget(guide_);

    auto* header = new QVBoxLayout(header_);
    header->setContentsMargins(kPadding - kHoverRoom, kPadding, kPadding - kHoverRoom, kPadding);
    header->setSpacing(kHeaderRowsSpacing);
    header->addWidget(buildHeaderRow());
    header->addWidget(guideToggle_);
    connect(guideToggle_, &QAbstractButton::clicked, this,
            [onToggleGuide = std::move(onToggleGuide)] { onToggleGuide(); });

    auto* steps = new QVBoxLayout(guide_);
    steps->setContentsMargins(kPadding, kPadding, kPadding, kPadding);
    steps->setSpacing(kStepSpacing);
    int number = 1;
    for (const auto& step : guideSteps(browser)) {
        auto* row = new GuideStepRow(number++, step.text, step.linkPhrase, onPrimaryAction, guide_);
        steps->addWidget(row);
        stepRows_.push_back(row);
    }

    outline_ = new RoundedOutline(this, Theme::cornerRadius, kClosedBorder);
    opening_.setDuration(kAnimationMs);
    opening_.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&opening_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
        openness_ = value.toReal();
        applyOpenness();
    });
    applyStatus();
    setOpenness(isOpen() ? 1 : 0, false);
}

BrowserExtensionCard::~BrowserExtensionCard() = default;

QWidget* BrowserExtensionCard::buildHeaderRow() {
    headerRow_ = new QWidget(header_);
    auto* row = new QHBoxLayout(headerRow_);
    row->setContentsMargins(kHoverRoom, 0, kHoverRoom, 0);
    row->setSpacing(kRowSpacing);
    icon_ = new Icon(headerRow_);
    row->addWidget(icon_, 0, Qt::AlignVCenter);
    name_ = themedLabel(fromView(displayName(browser_)), Theme::fontMedium14(), headerRow_);
    row->addWidget(name_, 0, Qt::AlignVCenter);
    row->addStretch(1);

    auto* status = new QHBoxLayout();
    status->setSpacing(kStatusSpacing);
    statusDot_ = new StatusDot(headerRow_);
    status->addWidget(statusDot_, 0, Qt::AlignVCenter);
    statusLabel_ = themedLabel({}, Theme::fontRegular14(), headerRow_);
    status->addWidget(statusLabel_, 0, Qt::AlignVCenter);
    info_ = new InfoTooltip(QString::fromUtf8(kInfoText), kInfoSize, headerRow_);
    status->addWidget(info_, 0, Qt::AlignVCenter);
    row->addLayout(status);
    return headerRow_;
}

QAbstractButton* BrowserExtensionCard::guideToggle() const {
    return guideToggle_;
}

bool BrowserExtensionCard::isOpen() const {
    return status_ != ExtensionStatus::connected && guideExpanded_;
}

void BrowserExtensionCard::setStatus(ExtensionStatus status) {
    if (status == status_) {
        return;
    }
    status_ = status;
    applyStatus();
    // A connection closes the guide at once, and its loss opens it again as it was.
    setOpenness(isOpen() ? 1 : 0, false);
}

void BrowserExtensionCard::setAppIcon(const QImage& appIcon) {
    appIcon_ = appIcon;
    applyStatus();
}

void BrowserExtensionCard::setGuideExpanded(bool expanded) {
    if (expanded == guideExpanded_) {
        return;
    }
    guideExpanded_ = expanded;
    guideToggle_->setExpanded(expanded);
    setOpenness(isOpen() ? 1 : 0, true);
}

void BrowserExtensionCard::applyStatus() {
    const bool connected = status_ == ExtensionStatus::connected;
    const QColor foreground = connected ? Theme::white() : Theme::black();
    icon_->set(appIcon_, foreground);
    setTextColor(name_, foreground);
    setTextColor(statusLabel_, foreground);
    statusLabel_->setText(statusText(status_));
    statusDot_->setFilled(connected);
    statusDot_->setColor(connected ? Theme::white() : Theme::black());
    info_->setVisible(showsInfo(status_));
    headerRow_->setAccessibleName(fromView(displayName(browser_)) + QStringLiteral(", ") +
                                  statusText(status_));
    guideToggle_->setVisible(!connected);
    guideToggle_->setExpanded(guideExpanded_);
    header_->update();
}

void BrowserExtensionCard::setOpenness(qreal target, bool animated) {
    opening_.stop();
    if (!animated) {
        openness_ = target;
        applyOpenness();
        return;
    }
    opening_.setStartValue(openness_);
    opening_.setEndValue(target);
    Animations::start(opening_);
    applyOpenness();
}

void BrowserExtensionCard::applyOpenness() {
    guide_->setVisible(openness_ > 0);
    guide_->setMaximumHeight(static_cast<int>(std::ceil(openness_ * guide_->sizeHint().height())));
    outline_->setOutline(borderWidth(), Theme::black());
    header_->update();
    update();
}

qreal BrowserExtensionCard::headerBottomRadius() const {
    return interpolate(Theme::cornerRadius, 0, openness_);
}

qreal BrowserExtensionCard::borderWidth() const {
    return interpolate(kClosedBorder, kOpenBorder, openness_);
}

QColor BrowserExtensionCard::headerFill() const {
    return status_ == ExtensionStatus::connected ? Theme::black() : Theme::white();
}

void BrowserExtensionCard::paintEvent(QPaintEvent*) {
    if (openness_ <= 0) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(RoundedShape::continuous(rect(), Theme::cornerRadius),
                     Theme::withOpacity(Theme::white(), openness_));
}

}  // namespace olvane::ui
