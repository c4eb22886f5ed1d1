// The caption buttons every window gets: close, maximize / restore, minimize.
#pragma once

#include "toolkit/control.h"

namespace qh {

enum CaptionButtonKind : int { kCaptionClose = 1, kCaptionMaximize = 2, kCaptionMinimize = 3 };

class UiSystemButton : public UiControl {
public:
    explicit UiSystemButton(int which) : which_(which) {
        Name(which == kCaptionClose ? "CaptionClose" : which == kCaptionMaximize ? "CaptionMaximize" : "CaptionMinimize",
             true);
    }
    int Which() const { return which_; }
    ControlTraits Traits() const override { return {.captionLayer = true, .role = AccRole::kPushButton}; }
    // Its text is what it does ("关闭"), which screen readers say.
    ControlSnapshot Snapshot() const override;

protected:
    void Paint(UiWindow& window, Graphics& g, int state) override;
    bool Click(UiWindow& window) override;

private:
    int which_;
};

}  // namespace qh
