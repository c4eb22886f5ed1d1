#include "toolkit/controls/text_control.h"

#include "toolkit/toolkit.h"

namespace qh {

void UiTextControl::CreateText(HostHandle hwnd, int kind, const qh::Text& text, const RectF& bounds,
                               Argb textColor, const FontChoice& font, bool visible, bool tabStop, int cursor) {
    text_ = text;
    textColor_ = textColor;
    font_ = Toolkit().defaultFont;
    if (!font.face.empty()) font_.face = font.face;
    font_.size = font.size > 0 ? font.size : 12.0f;
    font_.style = font.style;
    CreateBase(hwnd, bounds, kind, visible, tabStop, cursor, cursor != kCursorArrow);
    Redraw();
}

ControlSnapshot UiTextControl::Snapshot() const {
    ControlSnapshot s;
    s.text = text_;
    return s;
}

qh::Text UiTextControl::Text(const qh::Text& text, bool set) {
    if (!IsBound()) return qh::Text();
    if (set && text != text_) {
        text_ = text;
        Redraw();
    }
    return text_;
}

}  // namespace qh
