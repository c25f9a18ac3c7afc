#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <vector>

#include "ui/foundation/HoverButton.h"

namespace olvane::ui {

class DebugSpacingIndicator;

// One module on the home page: its symbol, its name and a description of at most two lines, in
// a white card outlined in black; the whole card leads to the module's page. Its size never
// follows the hero's scale.
class ModuleCard final : public HoverButton {
    Q_OBJECT

  public:
    static constexpr int kPadding = 20;
    static constexpr int kMinimumHeight = 140;
    static constexpr int kIconFrame = 24;
    static constexpr int kGap = 12;
    static constexpr int kDescriptionLines = 2;

    ModuleCard(const QString& title, const QString& description, std::string iconName,
               std::function<void()> action, QWidget* parent = nullptr);

    QString title() const { return title_; }
    // The description as drawn at the card's present width.
    QStringList descriptionLines() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

  protected:
    void paintContent(QPainter& painter) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Geometry {
        QStringList titleLines;
        QStringList descriptionLines;
        QRectF icon;
        QRectF title;
        QRectF description;
        qreal contentHeight;
    };
    struct Wrapped {
        qreal width;
        QStringList titleLines;
        QStringList descriptionLines;
    };
    Geometry geometry(qreal width, qreal height) const;
    // The texts broken for `width`: a layout asks for the same few widths again and again.
    const Wrapped& wrapped(qreal width) const;

    QString title_;
    QString description_;
    std::string iconName_;
    QWidget* iconMarker_;
    QWidget* titleMarker_;
    QWidget* descriptionMarker_;
    DebugSpacingIndicator* gapAboveTitle_;
    DebugSpacingIndicator* gapAboveDescription_;
    mutable std::vector<Wrapped> wrapped_;
};

}  // namespace olvane::ui
