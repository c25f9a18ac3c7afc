#pragma once

#include <QMarginsF>
#include <QString>
#include <QWidget>

namespace olvane::ui {

// Pads its content by the four insets. While spacing debug is on it also colours each inset
// behind the content: top green, bottom mint, leading orange, trailing yellow, each marked with an
// arrow and its size when the band is large enough.
class DebugPaddingOverlay final : public QWidget {
    Q_OBJECT

  public:
    // `label` names the padding where it is used; it is not drawn.
    DebugPaddingOverlay(QWidget* content, QMarginsF insets, const QString& label,
                        QWidget* parent = nullptr);

    QWidget* content() const { return content_; }
    QMarginsF insets() const { return insets_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QWidget* content_;
    QMarginsF insets_;
};

// The same bands over a part that its parent paints itself: an empty, click-through child that
// the parent places over the padded rectangle.
QWidget* debugPaddingMarker(QWidget* parent, QMarginsF insets, const QString& label);

}  // namespace olvane::ui
