// UiDrawerBar (kind 6): a narrow handle at the edge of a window that opens
// and closes a drawer (the calculator's results window). Its State tells
// which way the drawer goes: 0, closed, shows an arrow pointing right (a
// click opens it); any other value, open, an arrow pointing left. The window
// raises OnControlEvent when it is clicked; the application opens or closes
// the drawer and sets State.
#pragma once

#include "toolkit/control.h"
#include "toolkit/image.h"

namespace qh {

class UiDrawerBar : public UiControl {
public:
    // image: PNG, JPEG or GIF bytes stretched over the bar as its face;
    // empty for the style's own face.
    void Create(HostHandle hwnd, float left, float top, float width, float height, const Bytes& image = Bytes(),
                bool visible = true);
    // The state value; setting a different one repaints.
    int State(int value = 0, bool set = false);
    // For scripts: checked while the drawer is open (a non-zero State).
    ControlSnapshot Snapshot() const override;
    const UiImage& Picture() const { return image_; }

    ControlTraits Traits() const override { return {.focusRing = true, .role = AccRole::kPushButton, .nameFrom = AccNameFrom::kToolTip}; }

protected:
    void Paint(UiWindow& window, Graphics& g, int state) override;

private:
    UiImage image_;
    int state_ = 0;
};

}  // namespace qh
