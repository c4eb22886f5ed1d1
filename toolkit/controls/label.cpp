#include "toolkit/controls/label.h"

#include "toolkit/draw.h"
#include "toolkit/style_painter.h"

namespace qh {

void UiLabel::Create(HostHandle hwnd, const qh::Text& text, float left, float top, float width, float height,
                     Argb textColor, const FontChoice& font, int formatFlags, int align, bool visible) {
    formatFlags_ = formatFlags;
    align_ = align;
    CreateText(hwnd, kKindLabel, text, MakeRect(left, top, width, height), textColor, font, visible, false);
}

void UiLabel::Paint(UiWindow&, Graphics& g, int) {
    DrawText(g, text_, font_, disabled_ != 0 ? Style().disabledText : textColor_, Bounds(), align_, 0, 0,
             formatFlags_);
}

}  // namespace qh
