#include "toolkit/caption_icon.h"

#include "toolkit/draw.h"
#include "toolkit/style_painter.h"

namespace qh {

UiCaptionIcon::UiCaptionIcon() {
    Name("CaptionIcon", true);
    image_.LoadFromIconBytes(ProgramIconFile());
}

void UiCaptionIcon::Paint(UiWindow&, Graphics& g, int state) {
    const RectF b = Bounds();
    // Under the mouse and while pressed the icon sits on a soft plate, so it
    // reads as something that can be clicked.
    if (state == kStateHover || state == kStatePressed) {
        const Argb plate = state == kStatePressed ? MakeArgb(0xFFFFFF, 170) : MakeArgb(0xFFFFFF, 110);
        FillRoundRect(g, MakeRect(b.left - 2, b.top - 2, b.width + 3, b.height + 3), kFaceRounding, plate);
    }
    PaintImageFitted(g, image_, b, false);
}

}  // namespace qh
