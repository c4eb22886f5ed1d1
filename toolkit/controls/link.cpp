#include "toolkit/controls/link.h"

#include "toolkit/draw.h"
#include "toolkit/style_painter.h"
#include "toolkit/toolkit.h"

namespace qh {

void UiLink::Create(HostHandle hwnd, const qh::Text& text, const qh::Text& url, float left, float top,
                    float width, float height, Argb textColor, const FontChoice& font, bool visible) {
    url_ = url;
    FontChoice underlined = font;
    underlined.style |= kUnderline;
    CreateText(hwnd, kKindLink, text, MakeRect(left, top, width, height), textColor != 0 ? textColor : Style().accent,
               underlined, visible, true, kCursorHand);
}

qh::Text UiLink::Url(const qh::Text& url, bool set) {
    if (!IsBound()) return qh::Text();
    if (set) url_ = url;
    return url_;
}

void UiLink::Paint(UiWindow&, Graphics& g, int state) {
    // Under the mouse the link darkens, as links do.
    Argb color = textColor_;
    if (disabled_ != 0) color = Style().disabledText;
    else if (state == kStatePressed) color = MakeArgb(0x4B5A12, 255);  // a deep green, as COLORREF
    else if (state == kStateHover) color = Style().pressedBorder;
    const RectF b = Bounds();
    // Held down, the text sinks by a pixel, as the buttons' text does.
    const float shift = state == kStatePressed && disabled_ == 0 ? 1.0f : 0.0f;
    DrawText(g, text_, font_, color, MakeRect(b.left + shift, b.top + shift, b.width, b.height), 3, 0, 0,
             kFormatNoWrap);
    // Focused from the keyboard, a link shows the accent ring the other kinds show.
    if (disabled_ == 0 && IsFocusedState(state)) {
        DrawRoundRect(g, MakeRect(b.left - 2, b.top, b.width + 3, b.height - 1), kFaceRounding - 2, Style().accent);
    }
}

bool UiLink::Click(UiWindow&) {
    if (disabled_ != 0 || url_.empty() || !Toolkit().openUrl) return false;
    Toolkit().openUrl(url_);
    return true;
}

}  // namespace qh
