#pragma once

#include <QString>
#include <QWidget>

class QVBoxLayout;

namespace olvane::ui {

// The outer spacing every page repeats: its four margins around the page column, the header at
// the top of the column and the gap under it. Each spacing is a named debug indicator.
class PageFrame final : public QWidget {
    Q_OBJECT

  public:
    explicit PageFrame(QWidget* header, QWidget* parent = nullptr);
    // A page whose first section follows the header after its own named gap.
    PageFrame(QWidget* header, const QString& gapName, qreal gap, QWidget* parent = nullptr);

    // The page's own column: the page adds its sections here, under the header and its gap.
    QVBoxLayout* column() const { return column_; }

  private:
    QVBoxLayout* column_;
};

}  // namespace olvane::ui
