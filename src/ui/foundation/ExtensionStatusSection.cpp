#include "ui/foundation/ExtensionStatusSection.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/foundation/StatusDot.h"
#include "ui/foundation/TextRowButton.h"
#include "ui/foundation/Theme.h"
#include "ui/foundation/ThemedLabel.h"

namespace olvane::ui {
namespace {

QLabel* smallLabel(const QString& text, FontWeight weight, QWidget* parent) {
    return themedLabel(text, Theme::font(12, weight), parent);
}

}  // namespace

ExtensionStatusSection::ExtensionStatusSection(AppState& appState,
                                               std::function<void()> onManageExtensions,
                                               QWidget* parent)
    : QWidget(parent), appState_(appState) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    for (const auto browser : allCases<BrowserType>()) {
        auto* row = new QHBoxLayout();
        row->setSpacing(8);
        auto* dot = new StatusDot(this);
        const auto name = displayName(browser);
        auto* nameLabel =
            smallLabel(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())),
                       FontWeight::medium, this);
        auto* status = smallLabel({}, FontWeight::regular, this);
        status->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row->addWidget(dot, 0, Qt::AlignVCenter);
        row->addWidget(nameLabel);
        row->addStretch(1);
        row->addWidget(status);
        column->addLayout(row);
        rows_[browser] = Row{dot, status};
    }
    if (onManageExtensions) {
        manageButton_ = new TextRowButton(QStringLiteral("Gérer les extensions"), this);
        connect(manageButton_, &QAbstractButton::clicked, this,
                [action = std::move(onManageExtensions)] { action(); });
        column->addSpacing(2);
        column->addWidget(manageButton_);
    }
    refresh();
    observation_ = appState_.extensionStatus.observe([this](const auto&) { refresh(); });
}

QString ExtensionStatusSection::textFor(ExtensionStatus status) {
    switch (status) {
        case ExtensionStatus::connected:
            return QStringLiteral("Connectée");
        case ExtensionStatus::connecting:
            return QStringLiteral("Connexion…");
        case ExtensionStatus::notDetected:
        case ExtensionStatus::browserNotRunning:
            return QStringLiteral("Non connectée");
    }
    return {};
}

QString ExtensionStatusSection::statusText(BrowserType browser) const {
    return rows_.at(browser).status->text();
}

void ExtensionStatusSection::refresh() {
    const auto& statuses = appState_.extensionStatus.get();
    for (auto& [browser, row] : rows_) {
        // A browser without an entry has not been seen running.
        const auto it = statuses.find(browser);
        const auto status = it == statuses.end() ? ExtensionStatus::browserNotRunning : it->second;
        row.dot->setFilled(status == ExtensionStatus::connected);
        row.status->setText(textFor(status));
    }
}

}  // namespace olvane::ui
