#include "ui/foundation/PageFrames.h"

#include <QLabel>
#include <QVBoxLayout>
#include <optional>

#include "ui/foundation/LogoOlvane.h"
#include "ui/foundation/PageHeader.h"
#include "ui/foundation/SpacingDebugManager.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"
#include "ui/foundation/VersionRow.h"

namespace olvane::ui {
namespace {

struct HeaderTexts {
    QString title;
    std::optional<QString> description;
};

HeaderTexts headerFor(NavigationItem item) {
    switch (item) {
        case NavigationItem::configurateur:
            return {QStringLiteral("Configurateur"), std::nullopt};
        case NavigationItem::guide:
            return {QStringLiteral("Guide"), std::nullopt};
        case NavigationItem::grayscaleFilter:
            return {QStringLiteral("Monochrome"),
                    QStringLiteral("Préserve ton attention avec un filtre noir et blanc")};
        case NavigationItem::frictionEffects:
            return {QStringLiteral("Contrepoids"),
                    QStringLiteral("Rends ennuyeux tes usages non-désirés")};
        case NavigationItem::contentFilter:
            return {QStringLiteral("Assainisseur"),
                    QStringLiteral("Améliore ta concentration sur internet")};
        case NavigationItem::extensions:
            return {QStringLiteral("Extensions"),
                    QStringLiteral("Connecte Olvane avec tes navigateurs internet")};
        case NavigationItem::settings:
            return {QStringLiteral("Réglages"), std::nullopt};
        case NavigationItem::accueil:
            break;
    }
    return {};
}

QLabel* centredLabel(const QString& text, const QFont& font, QWidget* parent) {
    auto* label = themedLabel(text, font, parent);
    label->setAlignment(Qt::AlignHCenter);
    return label;
}

// The welcome block of the home page, at its resting size.
std::unique_ptr<QWidget> homeFrame() {
    auto page = std::make_unique<QWidget>();
    page->setObjectName(QStringLiteral("accueil"));
    auto* column = new QVBoxLayout(page.get());
    column->setContentsMargins(Theme::pageMarginLeft, 0, Theme::pageMarginRight, 0);
    column->setSpacing(0);
    column->addStretch(1);
    auto* logo = new QLabel(page.get());
    logo->setPixmap(LogoOlvane::pixmap(100, page->devicePixelRatioF()));
    logo->setAlignment(Qt::AlignHCenter);
    column->addWidget(logo);
    column->addSpacing(24);
    QFont title = Theme::font(40, FontWeight::regular);
    title.setLetterSpacing(QFont::AbsoluteSpacing, -1.2);
    column->addWidget(centredLabel(QStringLiteral("Bienvenue sur Olvane"), title, page.get()));
    column->addSpacing(8);
    column->addWidget(centredLabel(QStringLiteral("Reprends le contrôle"),
                                   Theme::font(22, FontWeight::regular), page.get()));
    column->addStretch(1);
    return page;
}

}  // namespace

PageFrames::PageFrames(SpacingDebugManager& spacingDebug) : spacingDebug_(spacingDebug) {}

PageFrames::PageFrames() : PageFrames(SpacingDebugManager::shared()) {}

std::unique_ptr<PageFrame> PageFrames::framedPage(QWidget* header) {
    return std::make_unique<PageFrame>(header);
}

std::unique_ptr<QWidget> PageFrames::settingsFrame(std::unique_ptr<PageFrame> page) {
    auto* rows = new QVBoxLayout();
    rows->setSpacing(16);
    rows->addWidget(new VersionRow([this] { spacingDebug_.handleVersionTap(); }, page.get()));
    page->column()->addLayout(rows);
    return page;
}

std::unique_ptr<QWidget> PageFrames::createPage(NavigationItem item) {
    if (item == NavigationItem::accueil) {
        return homeFrame();
    }
    const auto texts = headerFor(item);
    auto page = framedPage(new PageHeader(texts.title, texts.description));
    const auto name = rawValue(item);
    page->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    if (item == NavigationItem::settings) {
        return settingsFrame(std::move(page));
    }
    return page;
}

std::unique_ptr<QWidget> PageFrames::createUninstallProgress() {
    auto view = std::make_unique<QWidget>();
    view->setObjectName(QStringLiteral("uninstall"));
    auto* column = new QVBoxLayout(view.get());
    column->addStretch(1);
    column->addWidget(centredLabel(QStringLiteral("Désinstallation en cours"),
                                   Theme::fontMedium14(), view.get()));
    column->addStretch(1);
    return view;
}

std::unique_ptr<QWidget> PageFrames::createWebExtensionPrompt(std::function<void()>,
                                                              std::function<void()>) {
    return nullptr;
}

}  // namespace olvane::ui
