#pragma once

#include <QStringList>
#include <QWidget>
#include <vector>

namespace olvane::ui {

// A row of mutually exclusive segments sharing its width: the selected one black with white
// text, the others white with black text, the exchange eased over 0.15 s. The row has rounded
// corners and a thin black border, and no dividers. OlvaneSegmentedPicker binds it to values.
class SegmentedPicker : public QWidget {
    Q_OBJECT

  public:
    explicit SegmentedPicker(const QStringList& labels, QWidget* parent = nullptr);

    // -1 when no segment is selected.
    int selectedIndex() const { return selected_; }
    void setSelectedIndex(int index);
    int count() const { return static_cast<int>(segments_.size()); }
    QWidget* segment(int index) const;

  Q_SIGNALS:
    void segmentTapped(int index);

  private:
    std::vector<QWidget*> segments_;
    int selected_ = -1;
};

}  // namespace olvane::ui
