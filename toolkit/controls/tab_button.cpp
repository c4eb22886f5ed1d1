#include "toolkit/controls/tab_button.h"

#include <algorithm>

#include "toolkit/window.h"
#include "toolkit/draw.h"
#include "toolkit/style_painter.h"

namespace qh {
namespace {

// The band the text takes at the bottom of the tab, and the margins around
// the picture.
constexpr float kTextBand = 20.0f;
constexpr float kMargin = 4.0f;

}  // namespace

void UiTabButton::Create(HostHandle hwnd, float left, float top, float width, float height, const Bytes& image,
                         const qh::Text& text, Argb textColor, const FontChoice& font, bool visible) {
    if (IsBound()) return;
    image_.LoadFromMemory(image);
    CreateText(hwnd, kKindTabButton, text, MakeRect(left, top, width, height), textColor, font, visible, false);
}

int UiTabButton::Selected(int value, bool set) {
    return OnWindowThread(0, [&] {
        if (!IsBound()) return 0;
        const int selected = value != 0 ? 1 : 0;
        if (set && selected != selected_) {
            selected_ = selected;
            Redraw();
        }
        return selected_;
    });
}

ControlSnapshot UiTabButton::Snapshot() const {
    ControlSnapshot s = UiTextControl::Snapshot();
    s.selected = OnWindowThread(0, [&] { return selected_; });
    return s;
}

void UiTabButton::Paint(UiWindow&, Graphics& g, int state) {
    const bool disabled = disabled_ != 0;
    const RectF b = Bounds();
    PaintTabFace(g, b, state, selected_ != 0, disabled);
    // Pressed, the picture and text move down a pixel, as a pressed face does.
    const float shift = state == kStatePressed && !disabled ? 1.0f : 0.0f;
    const Argb ink = disabled ? Style().disabledText : textColor_;
    if (image_.Empty()) {
        DrawText(g, text_, font_, ink, MakeRect(b.left, b.top + shift, b.width, b.height), 4, 3, 0, kFormatNoWrap);
        return;
    }
    const float band = text_.empty() ? 0.0f : std::min(kTextBand, b.height / 2);
    const RectF picture = MakeRect(b.left + kMargin, b.top + kMargin + shift, b.width - 2 * kMargin,
                                   b.height - band - 2 * kMargin);
    PaintImageFitted(g, image_, picture, disabled);
    if (band > 0) {
        DrawText(g, text_, font_, ink, MakeRect(b.left + 2, b.Bottom() - band - 2 + shift, b.width - 4, band), 4, 3,
                 0, kFormatNoWrap);
    }
}

}  // namespace qh
