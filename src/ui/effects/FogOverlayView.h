#pragma once

#include <QRegion>
#include <QWidget>

#include "friction/FogEffectState.h"
#include "platform/Handle.h"
#include "ui/effects/FogRenderer.h"

namespace olvane::ui {

// What one fog overlay shows, redrawn whenever its state changes. Where translucent windows
// are drawn it is the translucent fog of FogRenderer; elsewhere opaque white, its holes cut out
// of the window's shape.
class FogOverlayView final : public QWidget {
    Q_OBJECT

  public:
    FogOverlayView(FogEffectState& state, bool translucent, QWidget* parent = nullptr);
    ~FogOverlayView() override;

    bool isTranslucent() const { return translucent_; }
    // The translucent picture (empty for the opaque fog).
    const QImage& picture() const { return renderer_.image(); }
    // Leaves `covered` (in the window's own units) out of the window's shape: where windows in
    // front of the target lie that the compositor cannot keep over the fog.
    void leaveOut(const QRegion& covered);

  Q_SIGNALS:
    // The opaque fog's holes moved in the window's shape.
    void shapeChanged();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void stateChanged();
    void applyShape();

    FogEffectState& state_;
    bool translucent_;
    FogRenderer renderer_;
    QRegion shape_;
    QRegion covered_;
    platform::Handle trailObservation_;
    platform::Handle radiusObservation_;
    platform::Handle opacityObservation_;
};

}  // namespace olvane::ui
