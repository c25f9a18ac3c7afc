#include "ui/pages/contrepoids/RedListItemRow.h"

#include <QAbstractButton>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "ui/foundation/Animations.h"
#include "ui/foundation/DebugDimensionOverlay.h"
#include "ui/foundation/DebugMarker.h"
#include "ui/foundation/DebugPaddingOverlay.h"
#include "ui/foundation/DebugSpacingIndicator.h"
#include "ui/foundation/FaviconService.h"
#include "ui/foundation/HoverScaleEffect.h"
#include "ui/foundation/HoverScaleSwitch.h"
#include "ui/foundation/InstalledAppsService.h"
#include "ui/foundation/RoundedOutline.h"
#include "ui/foundation/RoundedShape.h"
#include "ui/foundation/SpacingDebugManager.h"
#include "ui/foundation/SymbolPainter.h"
#include "ui/foundation/Theme.h"
#include "ui/pages/contrepoids/FrictionEffectsViewModel.h"
#include "ui/pages/contrepoids/RedListConfigPanel.h"

namespace olvane::ui {
namespace {

constexpr int kPadding = 8;
constexpr int kIconGap = 12;
constexpr int kEffectsGap = 16;
constexpr int kChevronGap = 12;
constexpr int kControlSide = 24;
constexpr qreal kControlSymbol = 12;
constexpr qreal kFallbackSymbol = 20;
constexpr qreal kEffectSymbol = 10;
constexpr int kEffectSpacing = 8;
constexpr int kEffectsLeading = 8;
constexpr qreal kRemoveHoverScale = 1.0625;
constexpr qreal kFaintOpacity = 0.1;

int effectSide() {
    return SymbolPainter::boxSide(kEffectSymbol);
}

}  // namespace

// The always-visible line: drawn in one pass (icon, name, effect symbols, chevron); only the
// cross is a widget of its own. A click anywhere else opens or closes the row.
class RedListItemRow::MainRow final : public QWidget {
  public:
    explicit MainRow(RedListItemRow& row) : QWidget(&row), row_(row) {
        setFixedHeight(2 * kPadding + kIconSide);
        setAttribute(Qt::WA_Hover);
        radius_.setDuration(kExpandAnimationMs);
        radius_.setEasingCurve(QEasingCurve::InOutQuad);
        connect(&radius_, &QVariantAnimation::valueChanged, this, [this](const QVariant& value) {
            cornerRadius_ = value.toReal();
            update();
        });
        cornerRadius_ = row.isExpanded() ? 0 : Theme::cornerRadius;
        if (SpacingDebugManager::overlaysVisible()) {
            markers_ = {debugMarker(this, QStringLiteral("icon"), DebugColor::green),
                        debugMarker(this, QStringLiteral("displayName"), DebugColor::cyan),
                        debugMarker(this, QStringLiteral("Spacer"), DebugColor::gray),
                        debugMarker(this, QStringLiteral("activeEffects"), DebugColor::yellow),
                        debugMarker(this, QStringLiteral("chevron"), DebugColor::red)};
            auto* iconGap = new DebugSpacingIndicator(QStringLiteral("p3 (icon↔text)"), kIconGap,
                                                      Qt::Horizontal, this);
            iconGap->setAttribute(Qt::WA_TransparentForMouseEvents);
            paddings_ = {debugPaddingMarker(this, QMarginsF(0, kPadding, 0, kPadding),
                                            QStringLiteral("row.padV")),
                         debugPaddingMarker(this, QMarginsF(kPadding, 0, kPadding, 0),
                                            QStringLiteral("row.padH")),
                         iconGap};
        }
    }

    void setExpanded(bool expanded) {
        radius_.stop();
        radius_.setStartValue(cornerRadius_);
        radius_.setEndValue(expanded ? 0.0 : Theme::cornerRadius);
        Animations::start(radius_);
    }

    QRect removeRect() const {
        return {width() - kPadding - kControlSide, kPadding, kControlSide, kControlSide};
    }
    QRect chevronRect() const { return removeRect().translated(-(kChevronGap + kControlSide), 0); }
    QRect effectsRect() const {
        const auto count = static_cast<int>(row_.activeEffectSymbols().size());
        const int width =
            count == 0 ? 0 : kEffectsLeading + count * effectSide() + (count - 1) * kEffectSpacing;
        const int right = chevronRect().left() - kEffectsGap;
        return {right - width, kPadding, width, kIconSide};
    }
    QRect iconRect() const { return {kPadding, kPadding, kIconSide, kIconSide}; }
    QRect nameRect() const {
        const int left = iconRect().right() + 1 + kIconGap;
        return {left, kPadding, std::max(0, effectsRect().left() - left), kIconSide};
    }

  protected:
    void resizeEvent(QResizeEvent*) override {
        if (auto* remove = findChild<QAbstractButton*>()) {
            remove->setGeometry(removeRect());
        }
        if (markers_.empty()) {
            return;
        }
        const QRect name = nameRect();
        const int textWidth = std::min(name.width(), fontMetrics().horizontalAdvance(text()));
        const QRect shownName(name.left(), name.top(), textWidth, name.height());
        const QRect spacer(shownName.right() + 1, kPadding,
                           effectsRect().left() - shownName.right() - 1, kIconSide);
        const std::array<QRect, 5> rects{iconRect(), shownName, spacer, effectsRect(),
                                         chevronRect()};
        for (std::size_t i = 0; i < markers_.size(); ++i) {
            markers_[i]->setGeometry(rects[i]);
        }
        paddings_[0]->setGeometry(rect());
        paddings_[1]->setGeometry(rect().adjusted(0, kPadding, 0, -kPadding));
        paddings_[2]->setGeometry(iconRect().right() + 1, kPadding, kIconGap, kIconSide);
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const qreal active = row_.activeProgress();
        if (active > 0) {
            painter.fillPath(RoundedShape::continuous(rect(), cornerRadius_),
                             Theme::withOpacity(Theme::black(), active));
        }
        const QColor foreground = row_.foreground();
        if (row_.cachedIcon()) {
            painter.drawImage(QRectF(iconRect()), *row_.cachedIcon());
        } else {
            SymbolPainter::paint(painter, iconRect(), row_.fallbackSymbol(), kFallbackSymbol,
                                 foreground);
        }
        painter.setFont(Theme::fontRegular14());
        painter.setPen(foreground);
        const QRect name = nameRect();
        painter.drawText(name, Qt::AlignLeft | Qt::AlignVCenter,
                         painter.fontMetrics().elidedText(text(), Qt::ElideRight, name.width()));
        QRect effects = effectsRect();
        qreal x = effects.left() + kEffectsLeading;
        for (const auto& symbol : row_.activeEffectSymbols()) {
            SymbolPainter::paint(painter, QRectF(x, effects.top(), effectSide(), kIconSide), symbol,
                                 kEffectSymbol, Theme::white());
            x += effectSide() + kEffectSpacing;
        }
        SymbolPainter::paint(painter, chevronRect(), row_.chevronSymbol(), kControlSymbol,
                             foreground);
    }

    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
            row_.setExpanded(!row_.isExpanded());
        }
    }

  private:
    QString text() const {
        const auto config = row_.config();
        return config ? QString::fromStdString(config->targetDisplayName) : QString();
    }

    RedListItemRow& row_;
    QVariantAnimation radius_;
    qreal cornerRadius_ = Theme::cornerRadius;
    std::vector<QWidget*> markers_;
    // The row's two paddings and the gap after the icon.
    std::array<QWidget*, 3> paddings_{};
};

// The cross: removes the target at once, without opening the row.
class RedListItemRow::RemoveButton final : public QAbstractButton {
  public:
    explicit RemoveButton(RedListItemRow& row, QWidget* parent)
        : QAbstractButton(parent),
          row_(row),
          hover_(HoverScaleEffect::lite(this, kRemoveHoverScale)) {
        setFixedSize(kControlSide, kControlSide);
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_Hover);
        setAccessibleName(QStringLiteral("Supprimer"));
        debugOverlay(this, QStringLiteral("remove"), DebugColor::pink);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setTransform(hover_->transform());
        SymbolPainter::paint(painter, rect(), "xmark", kControlSymbol, row_.foreground());
    }

  private:
    RedListItemRow& row_;
    HoverScaleEffect* hover_;
};

// Over the open row and its panel: the page's white outside the rounded corners, then the
// card's border, faint for a target without effects and black for an active one.
class RedListItemRow::CardEdge final : public OverlayLayer {
  public:
    explicit CardEdge(RedListItemRow& row) : OverlayLayer(&row), row_(row) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        if (!row_.isExpanded()) {
            return;
        }
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal active = row_.activeProgress();
        const qreal width = 1.0 + 0.5 * active;
        const QPainterPath outline = RoundedOutline::shape(rect(), Theme::cornerRadius, width);
        QPainterPath outside;
        outside.addRect(rect());
        painter.fillPath(outside.subtracted(outline), Theme::windowBackground());
        if (const QWidget* panel = row_.panel(); panel && row_.panelAppearance() < 1) {
            painter.fillRect(panel->geometry(),
                             Theme::withOpacity(Theme::white(), 1 - row_.panelAppearance()));
        }
        painter.strokePath(
            outline,
            QPen(Theme::withOpacity(Theme::black(), kFaintOpacity + (1 - kFaintOpacity) * active),
                 width));
    }

  private:
    RedListItemRow& row_;
};

RedListItemRow::RedListItemRow(const Uuid& configId, FrictionEffectsViewModel& viewModel,
                               platform::Observable<std::set<Uuid>>& expandedIds, IconSources icons,
                               std::function<void()> onRemove, QWidget* parent)
    : QWidget(parent),
      configId_(configId),
      viewModel_(viewModel),
      expandedIds_(expandedIds),
      icons_(icons),
      onRemove_(std::move(onRemove)) {
    const auto target = config();
    shownActive_ = target && target->hasAnyEffect();
    activeProgress_ = shownActive_ ? 1 : 0;
    panelAppearance_.setDuration(kExpandAnimationMs);
    panelAppearance_.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&panelAppearance_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) {
                panelProgress_ = value.toReal();
                edge_->update();
            });
    activeAnimation_.setDuration(kActiveAnimationMs);
    activeAnimation_.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&activeAnimation_, &QVariantAnimation::valueChanged, this,
            [this](const QVariant& value) {
                activeProgress_ = value.toReal();
                update();
                mainRow_->update();
                edge_->update();
                removeButton()->update();
            });

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    mainRow_ = new MainRow(*this);
    auto* remove = new RemoveButton(*this, mainRow_);
    connect(remove, &QAbstractButton::clicked, this, [this] {
        if (onRemove_) {
            onRemove_();
        }
    });
    hoverScaleEffect(mainRow_, true);
    column->addWidget(mainRow_);
    separator_ = new QWidget(this);
    separator_->setFixedHeight(1);
    separator_->hide();
    column->addWidget(separator_);
    debugOverlay(mainRow_, QStringLiteral("mainRow"), DebugColor::blue);
    debugOverlay(this, QStringLiteral("RedListItemRow"), DebugColor::orange);
    edge_ = new CardEdge(*this);

    observations_.push_back(
        viewModel_.redListConfigs.observe([this](const auto&) { showConfig(); }));
    observations_.push_back(expandedIds_.observe([this](const auto&) { showExpansion(); }));
    showExpansion();
    showConfig();
}

RedListItemRow::~RedListItemRow() = default;

std::optional<RedListConfig> RedListItemRow::config() const {
    return viewModel_.target(configId_);
}

bool RedListItemRow::isActive() const {
    const auto target = config();
    return target && target->hasAnyEffect();
}

bool RedListItemRow::isExpanded() const {
    return expandedIds_().contains(configId_);
}

void RedListItemRow::setExpanded(bool expanded) {
    auto ids = expandedIds_();
    if (expanded) {
        ids.insert(configId_);
    } else {
        ids.erase(configId_);
    }
    expandedIds_.set(std::move(ids));
}

QWidget* RedListItemRow::mainRow() const {
    return mainRow_;
}

QAbstractButton* RedListItemRow::removeButton() const {
    return mainRow_->findChild<RemoveButton*>();
}

std::string RedListItemRow::fallbackSymbol() const {
    const auto target = config();
    return target && target->targetType == FrictionTargetType::website ? "globe" : "app.fill";
}

std::vector<std::string> RedListItemRow::activeEffectSymbols() const {
    std::vector<std::string> symbols;
    if (const auto target = config()) {
        if (target->isFogEnabled) {
            symbols.emplace_back("humidity");
        }
        if (target->isTurtleEnabled) {
            symbols.emplace_back("tortoise.fill");
        }
        if (target->isDelayEnabled) {
            symbols.emplace_back("clock.fill");
        }
    }
    return symbols;
}

std::string RedListItemRow::chevronSymbol() const {
    return isExpanded() ? "chevron.up" : "chevron.down";
}

QColor RedListItemRow::foreground() const {
    return Theme::mixed(Theme::black(), Theme::white(), activeProgress_);
}

void RedListItemRow::showConfig() {
    const auto target = config();
    setVisible(target.has_value());
    if (!target) {
        return;
    }
    const bool active = target->hasAnyEffect();
    if (active != shownActive_) {
        shownActive_ = active;
        activeAnimation_.stop();
        activeAnimation_.setStartValue(activeProgress_);
        activeAnimation_.setEndValue(active ? 1.0 : 0.0);
        Animations::start(activeAnimation_);
    }
    if (panel_) {
        panel_->setConfig(*target);
    }
    mainRow_->update();
    update();
}

void RedListItemRow::showExpansion() {
    const bool expanded = isExpanded();
    if (expanded == (panel_ != nullptr)) {
        return;
    }
    auto* column = static_cast<QVBoxLayout*>(layout());
    if (expanded) {
        const auto target = config();
        if (!target) {
            return;
        }
        panel_ = new RedListConfigPanel(
            *target, [this](const RedListConfig& changed) { viewModel_.updateConfig(changed); },
            false, this);
        column->addWidget(panel_);
        panel_->show();
        // The panel comes in from white (its menus fade on their own, so it carries no effect).
        panelAppearance_.stop();
        panelAppearance_.setStartValue(0.0);
        panelAppearance_.setEndValue(1.0);
        Animations::start(panelAppearance_);
    } else {
        column->removeWidget(panel_);
        panel_->hide();
        panel_->deleteLater();
        panel_ = nullptr;
    }
    mainRow_->setExpanded(expanded);
    separator_->setVisible(expanded);
    edge_->raise();
    update();
}

void RedListItemRow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    loadIcon();
}

// Once per row: the favicon of a site, the icon of an application.
void RedListItemRow::loadIcon() {
    if (iconRequested_ || cachedIcon_) {
        return;
    }
    const auto target = config();
    if (!target) {
        return;
    }
    iconRequested_ = true;
    const std::string& identifier = target->targetIdentifier;
    if (target->targetType == FrictionTargetType::website) {
        auto lookup =
            icons_.favicons.favicon(identifier, [this](const QImage& icon) { setIcon(icon); });
        if (lookup.icon) {
            setIcon(*lookup.icon);
        } else {
            iconWait_ = std::move(lookup.waiting);
        }
        return;
    }
    auto& apps = icons_.apps;
    const auto known = [this, &apps, identifier] {
        const auto icon = apps.cachedIcon(identifier);
        // The placeholder is the service's own drawing of "app.fill": the row draws its own,
        // white on an active target.
        if (icon && icon->cacheKey() != apps.placeholderIcon().cacheKey()) {
            setIcon(*icon);
        }
        if (icon || !apps.isLookingUp(identifier)) {
            iconWait_.cancel();
        }
    };
    if (apps.cachedIcon(identifier)) {
        known();
        return;
    }
    iconWait_ = apps.observe(known);
    apps.requestAppInfo(identifier);
}

void RedListItemRow::setIcon(const QImage& icon) {
    cachedIcon_ = icon;
    iconWait_.cancel();
    mainRow_->update();
}

void RedListItemRow::paintEvent(QPaintEvent*) {
    if (!isExpanded()) {
        return;
    }
    QPainter painter(this);
    painter.fillRect(rect(), Theme::white());
    // Under the main row of a target without effects.
    if (separator_->isVisible() && !shownActive_) {
        painter.fillRect(separator_->geometry(), Theme::withOpacity(Theme::black(), kFaintOpacity));
    }
}

}  // namespace olvane::ui
