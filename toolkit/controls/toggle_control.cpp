#include "toolkit/controls/toggle_control.h"

#include <algorithm>

#include "toolkit/draw.h"
#include "toolkit/style_painter.h"

namespace qh {
namespace {

constexpr float kMarkSize = 15.0f;
constexpr float kMarkGap = 6.0f;

}  // namespace

void UiToggleControl::CreateToggle(HostHandle hwnd, const qh::Text& text, const RectF& bounds, bool checked,
                                   Argb textColor, const FontChoice& font, bool visible) {
    checked_ = checked;
    CreateText(hwnd, kKindRadioOrCheck, text, bounds, textColor, font, visible, true);
}

int UiToggleControl::Checked(int value, bool set) {
    if (!IsBound()) return 0;
    if (set && (value != 0) != checked_) {
        checked_ = value != 0;
        Redraw();
    }
    return checked_ ? 1 : 0;
}

ControlSnapshot UiToggleControl::Snapshot() const {
    ControlSnapshot s = UiTextControl::Snapshot();
    s.checked = checked_ ? 1 : 0;
    return s;
}

void UiToggleControl::Paint(UiWindow&, Graphics& g, int state) {
    const RectF b = Bounds();
    const float size = std::min(kMarkSize, b.height);
    const RectF box = MakeRect(b.left + 1, b.top + (b.height - size) / 2, size, size);
    PaintMark(g, box, state);
    const float textLeft = box.left + size + kMarkGap;
    DrawText(g, text_, font_, disabled_ != 0 ? Style().disabledText : textColor_,
             MakeRect(textLeft, b.top, b.left + b.width - textLeft, b.height), 3, 0, 0, kFormatNoWrap);
}

}  // namespace qh
