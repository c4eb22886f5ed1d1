#include "toolkit/controls/text_control.h"

#include "toolkit/toolkit.h"

namespace qh {

UiFont FontOf(const FontChoice& choice) {
    UiFont font = Toolkit().defaultFont;
    if (!choice.face.empty()) font.face = choice.face;
    font.size = choice.size > 0 ? choice.size : 12.0f;
    font.style = choice.style;
    return font;
}

void UiTextControl::CreateText(HostHandle hwnd, int kind, const qh::Text& text, const RectF& bounds,
                               Argb textColor, const FontChoice& font, bool visible, bool tabStop, int cursor) {
    text_ = text;
    textColor_ = textColor;
    font_ = FontOf(font);
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
