#pragma once

#include <QString>
#include <QWidget>
#include <optional>

class QLabel;

namespace olvane::ui {

// The centred title block at the top of a page: the title at 32 points medium and, when given,
// a description at 14 points.
class PageHeader final : public QWidget {
    Q_OBJECT

  public:
    PageHeader(const QString& title, std::optional<QString> description, QWidget* parent = nullptr);

    QString title() const;
    // Absent (not empty) when the page has none.
    std::optional<QString> description() const;

  private:
    QLabel* title_;
    QLabel* description_ = nullptr;
};

}  // namespace olvane::ui
