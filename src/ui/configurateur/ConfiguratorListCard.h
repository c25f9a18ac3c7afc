#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class QVBoxLayout;

namespace olvane::ui {

class AddExceptionRow;
class AnswerScrollArea;

// The answer of the screens that gather a list: the entries chosen so far, then the "add" row
// that opens the screen's picker, with a separator above it once the list holds something.
class ConfiguratorListCard final : public QWidget {
    Q_OBJECT

  public:
    ConfiguratorListCard(const QString& addLabel, std::function<void()> onAdd,
                         QWidget* parent = nullptr);

    // The rows go here, from index 0 on, above the add row.
    QVBoxLayout& rows() const;
    // Called after each change of the list.
    void setHasEntries(bool hasEntries);
    AddExceptionRow* addRow() const { return addRow_; }
    AnswerScrollArea* scrollArea() const { return scroll_; }

  private:
    QString addLabel_;
    std::function<void()> onAdd_;
    AnswerScrollArea* scroll_;
    AddExceptionRow* addRow_ = nullptr;
};

}  // namespace olvane::ui
