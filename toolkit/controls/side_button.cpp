#include "toolkit/controls/side_button.h"

#include <algorithm>

#include "toolkit/window.h"
#include "toolkit/draw.h"
#include "toolkit/style_painter.h"

namespace qh {
namespace {

// The picture's square at the left, and the gaps around it.
constexpr float kIconSide = 16.0f;
constexpr float kGap = 8.0f;

}  // namespace

void UiSideButton::Create(HostHandle hwnd, float left, float top, float width, float height, const Bytes& image,
                          const qh::Text& text, const SideButtonColors& colors, const FontChoice& font,
                          bool visible) {
    if (IsBound()) return;
    image_.LoadFromMemory(image);
    colors_ = colors;
    CreateText(hwnd, kKindSideButton, text, MakeRect(left, top, width, height), colors.text, font, visible, false);
}

bool UiSideButton::Image(const Bytes& bytes, bool set) {
    return OnWindowThread(false, [&] {
        if (!IsBound()) return false;
        if (set) {
            image_.LoadFromMemory(bytes);
            Redraw();
        }
        return !image_.Empty();
    });
}

int UiSideButton::Selected(int value, bool set) {
    return OnWindowThread(0, [&] {
        UiWindow* w = Window();
        if (w == nullptr) return 0;
        if (set && value != 0 && !selected_) {
            // The one selected side button of the window gives way.
            for (int i = 1; i <= w->ControlCount(); ++i) {
                const ControlRecord* rec = w->Record(i);
                if (rec == nullptr || rec->kind != kKindSideButton || rec->object == this) continue;
                if (auto* other = dynamic_cast<UiSideButton*>(rec->object); other != nullptr) {
                    other->SetSelected(false);
                }
            }
        }
        if (set) SetSelected(value != 0);
        return selected_ ? 1 : 0;
    });
}

ControlSnapshot UiSideButton::Snapshot() const {
    ControlSnapshot s = UiTextControl::Snapshot();
    s.selected = OnWindowThread(0, [&] { return selected_ ? 1 : 0; });
    return s;
}

void UiSideButton::SetSelected(bool selected) {
    if (selected == selected_) return;
    selected_ = selected;
    Redraw();
}

void UiSideButton::Paint(UiWindow&, Graphics& g, int state) {
    const bool disabled = disabled_ != 0;
    const RectF b = Bounds();
    PaintSideFace(g, b, state, selected_, disabled, colors_);
    const Argb ink = SideTextColor(colors_, state, selected_, disabled);
    float x = b.left + kGap;
    if (!image_.Empty()) {
        const float side = std::min(kIconSide, b.height - 4);
        PaintImageFitted(g, image_, MakeRect(x, b.top + (b.height - side) / 2, side, side), disabled);
        x += side + kGap * 3 / 4;
    }
    DrawText(g, text_, font_, ink, MakeRect(x, b.top, b.Right() - x - kGap / 2, b.height), 3, 3, 0, kFormatNoWrap);
}

}  // namespace qh
