#pragma once

#include <QBoxLayout>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <utility>
#include <vector>

namespace olvane::ui {

// The rows of a list, one per key, in a box layout from a given position on. A row keeps its
// widget, and with it whatever it has loaded, for as long as its key stays in the list; a row
// whose key leaves goes after the current event, since its own click may have removed it.
template <typename Key, typename Row = QWidget>
class KeyedRows {
  public:
    KeyedRows(QBoxLayout& layout, int firstIndex) : layout_(layout), firstIndex_(firstIndex) {}
    KeyedRows(const KeyedRows&) = delete;
    KeyedRows& operator=(const KeyedRows&) = delete;

    // One row per key, in order: `make(key)` builds the rows of new keys.
    template <typename Make>
    void show(const std::vector<Key>& keys, Make make) {
        std::vector<Entry> kept;
        for (const Key& key : keys) {
            auto found = std::ranges::find(rows_, key, &Entry::first);
            if (found != rows_.end() && found->second) {
                kept.push_back(std::move(*found));
                rows_.erase(found);
            } else if (std::ranges::find(kept, key, &Entry::first) == kept.end()) {
                kept.emplace_back(key, QPointer<Row>(make(key)));
            }
        }
        for (auto& [key, row] : rows_) {
            if (row) {
                layout_.removeWidget(row);
                row->hide();
                row->deleteLater();
            }
        }
        rows_ = std::move(kept);
        int index = firstIndex_;
        for (auto& [key, row] : rows_) {
            layout_.removeWidget(row);
            layout_.insertWidget(index++, row);
            row->show();
        }
    }

    Row* row(const Key& key) const {
        const auto found = std::ranges::find(rows_, key, &Entry::first);
        return found == rows_.end() ? nullptr : found->second.data();
    }
    std::vector<Row*> rows() const {
        std::vector<Row*> all;
        for (const auto& entry : rows_) {
            all.push_back(entry.second.data());
        }
        return all;
    }
    bool empty() const { return rows_.empty(); }
    int count() const { return static_cast<int>(rows_.size()); }

  private:
    using Entry = std::pair<Key, QPointer<Row>>;

    QBoxLayout& layout_;
    int firstIndex_;
    std::vector<Entry> rows_;
};

}  // namespace olvane::ui
