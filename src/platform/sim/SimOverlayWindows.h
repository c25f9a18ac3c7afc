#pragma once

#include <memory>
#include <vector>

#include "platform/OverlayWindow.h"

namespace olvane::platform::sim {

// Overlays that draw nothing and record where they are and whether they show.
class SimOverlayWindow final : public OverlayWindow {
  public:
    struct Record {
        Rect frame;
        bool isVisible = false;
        bool isClosed = false;
        int frameChanges = 0;
    };

    explicit SimOverlayWindow(std::shared_ptr<Record> record) : record_(std::move(record)) {}
    ~SimOverlayWindow() override {
        record_->isVisible = false;
        record_->isClosed = true;
    }

    Rect frame() const override { return record_->frame; }
    void setFrame(const Rect& frame) override {
        record_->frame = frame;
        ++record_->frameChanges;
    }
    void orderFront() override { record_->isVisible = true; }
    void orderOut() override { record_->isVisible = false; }

  private:
    std::shared_ptr<Record> record_;
};

// Keeps a record of every overlay it made, closed ones included, in the order made.
template <typename Content>
class SimOverlayWindows final : public OverlayWindowFactory<Content> {
  public:
    struct Made {
        std::shared_ptr<SimOverlayWindow::Record> record;
        Content* content;
    };

    std::unique_ptr<OverlayWindow> createOverlay(const Rect& frame, Content& content) override {
        auto record = std::make_shared<SimOverlayWindow::Record>();
        record->frame = frame;
        made_.push_back({record, &content});
        return std::make_unique<SimOverlayWindow>(record);
    }

    const std::vector<Made>& made() const { return made_; }
    // The overlays not closed yet.
    std::vector<Made> open() const {
        std::vector<Made> result;
        for (const auto& m : made_) {
            if (!m.record->isClosed) {
                result.push_back(m);
            }
        }
        return result;
    }

  private:
    std::vector<Made> made_;
};

}  // namespace olvane::platform::sim
