#include "toolkit/controls/label.h"

#include "toolkit/draw.h"
#include "toolkit/style_painter.h"
#include "toolkit/text_lines.h"
#include "toolkit/window.h"

namespace qh {
namespace {

// The lightest channel a text may have and still show on the light grounds
// labels stand on; a text lighter in all three gets a dark halo.
constexpr int kLegibleChannel = 0xE0;

bool VanishesOnLightGround(Argb color) {
    return RedOf(color) >= kLegibleChannel && GreenOf(color) >= kLegibleChannel && BlueOf(color) >= kLegibleChannel;
}

}  // namespace

void UiLabel::Create(HostHandle hwnd, const qh::Text& text, float left, float top, float width, float height,
                     Argb textColor, const FontChoice& font, int formatFlags, int align, bool visible) {
    Create(hwnd, text, left, top, width, height, LabelColors{textColor, textColor, textColor, textColor}, font,
           formatFlags, align, visible);
}

void UiLabel::Create(HostHandle hwnd, const qh::Text& text, float left, float top, float width, float height,
                     const LabelColors& colors, const FontChoice& font, int formatFlags, int align, bool visible) {
    if (IsBound()) return;
    colors_ = colors;
    formatFlags_ = formatFlags;
    align_ = align;
    CreateText(hwnd, kKindLabel, text, MakeRect(left, top, width, height), colors.normal, font, visible, false);
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

std::vector<std::pair<float, qh::Text>> UiLabel::ShownLines(UiWindow& window) const {
    Graphics* g = window.BackGraphics();
    if (g == nullptr) return UiControl::ShownLines(window);
    const TextLines layout = TextLayout(*g);
    const RectF b = Bounds();
    // Aligns 3-5 centre the block of lines in the bounds; the others start
    // at the top.
    constexpr int kFirstCentredAlign = 3, kLastCentredAlign = 5;
    const bool centred = align_ >= kFirstCentredAlign && align_ <= kLastCentredAlign;
    const float top = b.top + (centred ? (b.height - layout.Height()) / 2 : 0.0f);
    std::vector<std::pair<float, qh::Text>> lines;
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        lines.emplace_back(top + static_cast<float>(i) * layout.pitch + layout.lineHeight / 2, layout.lines[i]);
    }
    return lines;
}

Argb UiLabel::ColorFor(int state, bool focused) const {
    if (disabled_ != 0) return Style().disabledText;
    if (state == kStateHover) return colors_.hover;
    if (state == kStatePressed) return colors_.pressed;
    // A control is also painted in the focused look as it is shown: only a
    // label that holds the focus takes that colour.
    if (IsFocusedState(state) && focused) return colors_.focused;
    return colors_.normal;
}

void UiLabel::Paint(UiWindow& window, Graphics& g, int state) {
    const int index = window.IndexOf(this);
    const Argb color = ColorFor(state, index != 0 && window.FocusedControl() == index);
    const int effect = VanishesOnLightGround(color) ? kEffectHalo : kEffectNone;
    if (linePitch_ > 0) {
        DrawTextLines(g, text_, font_, color, Bounds(), linePitch_, align_, formatFlags_, effect);
    } else {
        DrawFittedText(g, text_, font_, color, Bounds(), align_, formatFlags_, effect);
    }
}

}  // namespace qh
