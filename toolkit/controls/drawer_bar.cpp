#include "toolkit/controls/drawer_bar.h"

#include <algorithm>

#include "toolkit/window.h"
#include "toolkit/draw.h"
#include "toolkit/style_painter.h"

namespace qh {
namespace {

// What a skin image face gets under the mouse and while pressed: a light
// veil and a dark one.
constexpr Argb kHoverVeil = 0x30FFFFFFu;
constexpr Argb kPressedVeil = 0x20000000u;

}  // namespace

void UiDrawerBar::Create(HostHandle hwnd, float left, float top, float width, float height, const Bytes& image,
                         bool visible) {
    if (IsBound()) return;
    image_.LoadFromMemory(image);
    CreateBase(hwnd, MakeRect(left, top, width, height), kKindDrawerBar, visible, true);
    Redraw();
}

int UiDrawerBar::State(int value, bool set) {
    return OnWindowThread(0, [&] {
        if (!IsBound()) return 0;
        if (set && value != state_) {
            state_ = value;
            Redraw();
        }
        return state_;
    });
}

ControlSnapshot UiDrawerBar::Snapshot() const {
    ControlSnapshot s;
    s.checked = OnWindowThread(0, [&] { return state_ != 0 ? 1 : 0; });
    return s;
}

void UiDrawerBar::Paint(UiWindow&, Graphics& g, int state) {
    const StylePalette& p = Style();
    const bool disabled = disabled_ != 0;
    const RectF b = Bounds();
    if (image_.Empty()) {
        PaintPushFace(g, b, state, disabled);
    } else {
        const Bitmap& source = image_.PixelsFor(g.Scale());  // the double picture at 150 % and more
        const RectF whole = MakeRect(0, 0, static_cast<float>(source.Width()), static_cast<float>(source.Height()));
        g.DrawImage(source, b, whole, disabled ? 128 : 255);
        const RectF veil = MakeRect(b.left, b.top, b.width + 1, b.height + 1);
        if (!disabled && state == kStateHover) FillRect(g, veil, kHoverVeil);
        if (!disabled && state == kStatePressed) FillRect(g, veil, kPressedVeil);
    }
    // The arrow sits in the middle of the bar, in a square as wide as the bar.
    const float side = std::min(b.width, b.height);
    const RectF box = MakeRect(b.left + (b.width - side) / 2, b.top + (b.height - side) / 2, side, side);
    Argb ink = p.accent;
    if (disabled) ink = p.disabledText;
    else if (state == kStatePressed) ink = p.pressedBorder;
    PaintSideArrow(g, box, state_ == 0, ink);
}

}  // namespace qh
