#include "toolkit/controls/button.h"

#include "toolkit/draw.h"
#include "toolkit/style_painter.h"
#include "toolkit/window.h"

namespace qh {
namespace {

constexpr int kFadeStep = 51;
constexpr int kFadeTickMs = 30;

}  // namespace

void UiButton::Create(HostHandle hwnd, const qh::Text& text, float left, float top, float width, float height,
                      Argb textColor, const FontChoice& font, bool visible) {
    CreateText(hwnd, kKindButton, text, MakeRect(left, top, width, height), textColor, font, visible, true);
}

void UiButton::Paint(UiWindow& window, Graphics& g, int state) {
    const bool disabled = disabled_ != 0;
    if (state != paintedState_ && !disabled) {
        // A new look fades in over the window's background.
        paintedState_ = state;
        fadeAlpha_ = state == kStateHover ? 153 : 204;
        if (!fading_) {
            fading_ = true;
            window.StartControlTimer(window.IndexOf(this), kFadeTickMs, true);
        }
    }
    const RectF b = Bounds();
    PaintPushFace(g, b, state, disabled, fadeAlpha_);
    const int shift = state == kStatePressed ? 1 : 0;
    DrawText(g, text_, font_, disabled ? Style().disabledText : textColor_,
             MakeRect(b.left + shift, b.top + shift, b.width, b.height), 4, 0, 0, kFormatNoWrap);
}

bool UiButton::Tick(UiWindow& window) {
    if (!fading_) return false;
    fadeAlpha_ += kFadeStep;
    if (fadeAlpha_ > 254) {
        fadeAlpha_ = 255;
        fading_ = false;
        window.StopControlTimer(window.IndexOf(this));
    }
    Redraw();
    return true;
}

}  // namespace qh
