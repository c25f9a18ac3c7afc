#include "ui/foundation/PageFrames.h"

#include <QLabel>
#include <QVBoxLayout>
#include <optional>

#include "ui/foundation/PageHeader.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"

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

}  // namespace

std::unique_ptr<PageFrame> PageFrames::framedPage(QWidget* header) {
    return std::make_unique<PageFrame>(header);
}

std::unique_ptr<QWidget> PageFrames::createPage(NavigationItem item) {
    if (item == NavigationItem::accueil) {
        auto page = std::make_unique<QWidget>();
        page->setObjectName(QStringLiteral("accueil"));
        return page;
    }
    const auto texts = headerFor(item);
    auto page = framedPage(new PageHeader(texts.title, texts.description));
    const auto name = rawValue(item);
    page->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    return page;
}

std::unique_ptr<QWidget> PageFrames::createUninstallProgress() {
    auto view = std::make_unique<QWidget>();
    view->setObjectName(QStringLiteral("uninstall"));
    auto* column = new QVBoxLayout(view.get());
    column->addStretch(1);
    auto* title =
        themedLabel(QStringLiteral("Désinstallation en cours"), Theme::fontMedium14(), view.get());
    title->setAlignment(Qt::AlignHCenter);
    column->addWidget(title);
    column->addStretch(1);
    return view;
}

std::unique_ptr<QWidget> PageFrames::createWebExtensionPrompt(std::function<void()>,
                                                              std::function<void()>) {
    return nullptr;
}

}  // namespace olvane::ui
