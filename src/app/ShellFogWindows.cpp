#include "app/ShellFogWindows.h"

#include <cmath>
#include <string>
#include <vector>

#include "friction/FogCells.h"
#include "model/Logger.h"
#include "platform/Base64.h"
#include "platform/Json.h"

namespace olvane {
namespace {

// What the Shell takes in one update at most: its script enlarges a few tens of thousands of
// cells in well under a millisecond, more would cost it frames.
constexpr double kMaxCells = 32768;

class ShellFogOverlay final : public platform::OverlayWindow {
  public:
    ShellFogOverlay(int id, const platform::Rect& frame, FogEffectState& state,
                    platform::os::CompanionLink& link, platform::os::CompanionWindows& windows)
        : id_(id), frame_(frame), state_(state), link_(link), windows_(windows) {
        const auto changed = [this] { changedLook(); };
        watches_.push_back(state_.observeTrail(changed));
        watches_.push_back(state_.clearRadius.observe([changed](const double&) { changed(); }));
        watches_.push_back(state_.fogOpacity.observe([changed](const double&) { changed(); }));
        // A companion that comes (back) knows no fog.
        watches_.push_back(link_.observeCompanion([this] { whole_ = true; }));
        watches_.push_back(
            link_.addRequestSource([this](std::vector<std::string>& requests) { ask(requests); }));
    }

    ~ShellFogOverlay() override { orderOut(); }

    platform::Rect frame() const override { return frame_; }

    void setFrame(const platform::Rect& frame) override {
        frame_ = frame;
        changedLook();
    }

    void orderFront() override {
        shown_ = true;
        whole_ = true;
        changedLook();
    }

    void orderOut() override {
        if (std::exchange(shown_, false)) {
            link_.ask(json::dumpCompact(Json{{"unfog", id_}}));
        }
    }

  private:
    void changedLook() {
        stale_ = true;
        if (shown_) {
            link_.requestsWaiting();
        }
    }

    // The cells changed since the last update, when the companion is ready for it.
    void ask(std::vector<std::string>& requests) {
        const auto* target = windows_.withNumber(state_.targetWindowID);
        if (!shown_ || !target) {
            return;
        }
        const auto area = windows_.toCompositor(frame_);
        const int width = static_cast<int>(std::lround(area.width));
        const int height = static_cast<int>(std::lround(area.height));
        if (stale_) {
            const int minimumCell =
                static_cast<int>(std::ceil(std::sqrt(double(width) * height / kMaxCells)));
            // The radius is in points, the window in the compositor's pixels.
            pending_.add(cells_.update(width, height, state_.fogOpacity(),
                                       state_.clearRadius() * target->pointScale, state_.trail(), 1,
                                       minimumCell));
            stale_ = false;
        }
        if (whole_) {
            pending_ = {0, 0, cells_.columns() - 1, cells_.rows() - 1};
        }
        if (pending_.empty()) {
            return;
        }
        requests.push_back(update(target->id));
        pending_ = {};
        whole_ = false;
    }

    // The cells of `pending_`, row after row: their alphas.
    std::string update(const std::string& window) const {
        std::string pixels;
        const int columns = pending_.right - pending_.left + 1;
        const int rows = pending_.bottom - pending_.top + 1;
        pixels.reserve(static_cast<std::size_t>(columns * rows));
        for (int row = pending_.top; row <= pending_.bottom; ++row) {
            for (int column = pending_.left; column <= pending_.right; ++column) {
                pixels.push_back(static_cast<char>(cells_.alpha(column, row)));
            }
        }
        return json::dumpCompact(Json{{"fog",
                                       {{"id", id_},
                                        {"window", window},
                                        {"cells", {cells_.columns(), cells_.rows()}},
                                        {"cell", cells_.cell()},
                                        {"rect", {pending_.left, pending_.top, columns, rows}},
                                        {"pixels", platform::base64Encode(pixels)}}}});
    }

    const int id_;
    platform::Rect frame_;
    FogEffectState& state_;
    platform::os::CompanionLink& link_;
    platform::os::CompanionWindows& windows_;
    FogCells cells_;
    FogCells::Box pending_;
    bool shown_ = false;
    bool stale_ = true;
    bool whole_ = true;
    std::vector<platform::Handle> watches_;
};

}  // namespace

bool ShellFogWindows::shellDraws() {
    const auto& companion = link_.companion();
    const bool shell = companion && companion->compositor == "gnome-shell" && windows_.live();
    if (std::exchange(shellDrewBefore_, shell) != shell) {
        frictionLogger().info(shell ? "Buée : voiles dessinés dans GNOME Shell par son extension, "
                                      "sur la fenêtre même qu’ils couvrent"
                                    : "Buée : voiles en fenêtres d’OlvaneMac");
    }
    return shell;
}

std::unique_ptr<platform::OverlayWindow> ShellFogWindows::createOverlay(const platform::Rect& frame,
                                                                        FogEffectState& state) {
    if (!shellDraws()) {
        return otherwise_.createOverlay(frame, state);
    }
    return std::make_unique<ShellFogOverlay>(nextId_++, frame, state, link_, windows_);
}

}  // namespace olvane
