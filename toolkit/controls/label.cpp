#include "toolkit/controls/label.h"

#include "toolkit/draw.h"
#include "toolkit/style_painter.h"
#include "toolkit/text_lines.h"

namespace qh {

void UiLabel::Create(HostHandle hwnd, const qh::Text& text, float left, float top, float width, float height,
                     Argb textColor, const FontChoice& font, int formatFlags, int align, bool visible) {
    formatFlags_ = formatFlags;
    align_ = align;
    CreateText(hwnd, kKindLabel, text, MakeRect(left, top, width, height), textColor, font, visible, false);
}

float UiLabel::LinePitch(float value, bool set) {
    return OnWindowThread(linePitch_, [&] {
        if (set && value != linePitch_) {
            linePitch_ = value;
            Redraw();
        }
        return linePitch_;
    });
}

TextLines UiLabel::TextLayout(Graphics& g) const {
    if (linePitch_ > 0) return LinesAtPitch(g, text_, font_, linePitch_);
    return FitTextLines(g, text_, font_, Bounds(), formatFlags_);
}

void UiLabel::Paint(UiWindow&, Graphics& g, int) {
    const Argb color = disabled_ != 0 ? Style().disabledText : textColor_;
    if (linePitch_ > 0) {
        DrawTextLines(g, text_, font_, color, Bounds(), linePitch_, align_, formatFlags_);
    } else {
        DrawFittedText(g, text_, font_, color, Bounds(), align_, formatFlags_);
    }
}

}  // namespace qh
