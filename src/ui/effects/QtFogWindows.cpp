#include "ui/effects/QtFogWindows.h"

#include <memory>
#include <optional>
#include <utility>

#include "model/Logger.h"
#include "ui/effects/FogOverlayView.h"
#include "ui/effects/QtOverlayWindow.h"
#include "ui/effects/X11EffectWindows.h"
#include "ui/foundation/WindowCompositing.h"

namespace olvane::ui {
namespace {

// Kept right above its target: by the window manager as its transient where it draws unmanaged
// windows above all others, else out of its hands (so that no frame of its takes the clicks) and
// restacked by us; over a window X11 cannot name, by the compositor's companion.
class QtFogWindow final : public QtOverlayWindow {
  public:
    QtFogWindow(const platform::Rect& frame, FogEffectState& state, bool translucent,
                X11EffectWindows* x11, bool managed, platform::CompositorStacking* compositor)
        : QtOverlayWindow(std::make_unique<FogOverlayView>(state, translucent), frame,
                          managed ? Qt::WindowFlags(Qt::Tool)
                                  : Qt::X11BypassWindowManagerHint | Qt::WindowStaysOnTopHint,
                          x11),
          target_(state.targetWindowID),
          managed_(managed),
          compositor_(compositor && x11 && managed && compositor->keeps(target_) ? compositor
                                                                                 : nullptr) {
        // KWin numbers the windows of one title: a fog named as the main window would have it
        // read « Olvane <2> ».
        view().setWindowTitle(QStringLiteral("Buée"));
        if (!x11) {
            return;
        }
        if (managed_) {
            x11->dressAsManagedFog(view());
            clickFocus_ = compositor_ ? x11->passClickFocus(
                                            view(), [this] { compositor_->activate(target_); })
                                      : x11->passClickFocus(view(), target_);
        } else {
            x11->dressAsUnmanagedFog(view());
        }
        // Qt sends its requests when X events come in, and none may while the pointer rests:
        // the holes would stay open.
        QObject::connect(static_cast<FogOverlayView*>(&view()), &FogOverlayView::shapeChanged,
                         [x11] { x11->sendRequests(); });
    }

    void orderFront() override {
        if (compositor_) {
            x11()->showManagedFog(view(), 0);
            keepOverNativeTarget();
            return;
        }
        if (x11() && managed_) {
            x11()->showManagedFog(view(), target_);
        } else {
            view().show();
        }
        if (!x11() || target_ == 0) {
            view().raise();
        } else if (!stacking_) {
            stacking_ = x11()->keepJustAbove(view(), target_, managed_);
        }
    }

  private:
    void keepOverNativeTarget() {
        if (stacking_) {
            return;
        }
        stacking_ = compositor_->keepJustAbove(
            static_cast<std::uint32_t>(view().winId()), target_,
            {.raiseToTop = [this] { x11()->raiseToTop(view()); },
             .coveredParts =
                 [this](const std::vector<platform::Rect>& parts) {
                     QRegion covered;
                     for (const auto& part : parts) {
                         const auto from = localPoint({part.x, part.y});
                         const auto to = localPoint({part.maxX(), part.maxY()});
                         covered +=
                             QRectF(QPointF(from.x, from.y), QPointF(to.x, to.y)).toAlignedRect();
                     }
                     static_cast<FogOverlayView&>(view()).leaveOut(covered);
                 }});
    }

    std::uint32_t target_;
    bool managed_;
    platform::CompositorStacking* compositor_;
    platform::Handle clickFocus_;
};

// Logs which way the fog goes, once and again at each change.
bool noteWay(std::optional<bool>& before, bool now, const char* whenTrue, const char* whenFalse) {
    if (std::exchange(before, now) != now) {
        frictionLogger().info(now ? whenTrue : whenFalse);
    }
    return now;
}

}  // namespace

bool QtFogWindows::translucentWindowsAreDrawn() {
    return noteWay(translucentBefore_, translucentWindowsAreComposited(),
                   "Buée : voiles translucides (un compositeur dessine la transparence)",
                   "Buée : aucun compositeur, voiles blancs opaques aux trous découpés dans la "
                   "forme de la fenêtre");
}

bool QtFogWindows::fogMustBeManaged() {
    return noteWay(managedBefore_, x11_ && x11_->fogMustBeManaged(),
                   "Buée : voiles confiés au gestionnaire de fenêtres, chacun transitoire de sa "
                   "cible (les fenêtres hors gestion passent ici au-dessus de toutes)",
                   "Buée : voiles hors gestion du gestionnaire de fenêtres, replacés juste "
                   "au-dessus de leur cible");
}

std::unique_ptr<platform::OverlayWindow> QtFogWindows::createOverlay(const platform::Rect& frame,
                                                                     FogEffectState& state) {
    return std::make_unique<QtFogWindow>(frame, state, translucentWindowsAreDrawn(), x11_,
                                         fogMustBeManaged(), compositor_);
}

}  // namespace olvane::ui
