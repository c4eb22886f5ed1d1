#include "toolkit/controls/check_box.h"

#include "toolkit/style_painter.h"

namespace qh {

void UiCheckBox::Create(HostHandle hwnd, const qh::Text& text, float left, float top, float width, float height,
                        bool checked, Argb textColor, const FontChoice& font, bool visible) {
    CreateToggle(hwnd, text, MakeRect(left, top, width, height), checked, textColor, font, visible);
}

void UiCheckBox::PaintMark(Graphics& g, const RectF& box, int state) {
    PaintCheckMark(g, box, state, checked_, disabled_ != 0);
}

bool UiCheckBox::Click(UiWindow&) {
    if (disabled_ != 0) return false;
    Checked(checked_ ? 0 : 1, true);
    return true;
}

}  // namespace qh
