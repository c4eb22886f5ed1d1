// UiButton (kind 2): a push button with a text. A new face fades in when its
// state changes: hover starts at 153, the other states at 204, and a control
// timer adds 51 a tick until the face is solid.
#pragma once

#include "toolkit/controls/text_control.h"

namespace qh {

class UiButton : public UiTextControl {
public:
    void Create(HostHandle hwnd, const qh::Text& text, float left, float top, float width, float height,
                Argb textColor = MakeArgb(0x000000, 210), const FontChoice& font = {}, bool visible = true);
    int FadeAlpha() const { return fadeAlpha_; }

    ControlTraits Traits() const override { return {.role = AccRole::kPushButton}; }

protected:
    void Paint(UiWindow& window, Graphics& g, int state) override;
    bool Tick(UiWindow& window) override;

private:
    int paintedState_ = kStateNormal;
    int fadeAlpha_ = 255;
    bool fading_ = false;
};

}  // namespace qh
