#include "toolkit/caption_button.h"

#include "toolkit/draw.h"
#include "toolkit/messages.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace qh {

ControlSnapshot UiSystemButton::Snapshot() const {
    ControlSnapshot s;
    if (which_ == kCaptionClose) s.text = "关闭";
    else if (which_ == kCaptionMinimize) s.text = "最小化";
    else if (UiWindow* w = Window(); w != nullptr && TheHost().IsMaximized(w->Handle())) s.text = "还原";
    else s.text = "最大化";
    return s;
}

bool UiSystemButton::Click(UiWindow& window) {
    Host& host = TheHost();
    if (which_ == kCaptionClose) host.PostMessage(window.Handle(), msg::kClose, 0, 0);
    else if (which_ == kCaptionMaximize) host.SetMaximized(window.Handle(), !host.IsMaximized(window.Handle()));
    else host.Minimize(window.Handle());
    return true;
}

void UiSystemButton::Paint(UiWindow&, Graphics& g, int state) {
    const RectF b = Bounds();
    if (state == kStateHover || state == kStatePressed) {
        Argb fill = which_ == kCaptionClose ? MakeArgb(0x2020E0, state == kStatePressed ? 255 : 200)
                                            : MakeArgb(0xFFFFFF, state == kStatePressed ? 140 : 90);
        FillRect(g, MakeRect(b.left, b.top, b.width + 1, b.height + 1), fill);
    }
    const Argb ink = MakeArgb(state == kStateNormal || which_ != kCaptionClose ? 0x303030 : 0xFFFFFF, 255);
    const float cx = b.left + b.width / 2, cy = b.top + b.height / 2;
    if (which_ == kCaptionClose) {
        DrawLine(g, ink, cx - 4, cy - 4, cx + 4, cy + 4, 1.5f);
        DrawLine(g, ink, cx + 4, cy - 4, cx - 4, cy + 4, 1.5f);
    } else if (which_ == kCaptionMaximize) {
        g.DrawRectangle(MakeRect(cx - 4, cy - 4, 8, 8), Pen{ink, 1.0f, false});
    } else {
        DrawLine(g, ink, cx - 4, cy + 3, cx + 4, cy + 3, 1.5f);
    }
}

}  // namespace qh
