#include "toolkit/controls/tip_panel.h"

#include "toolkit/window.h"
#include "toolkit/draw.h"
#include "toolkit/messages.h"
#include "toolkit/style_painter.h"
#include "toolkit/text_lines.h"

namespace qh {
namespace {

// The fade: the panel's opacity rises by a fifth each tick.
constexpr int kFadeStep = 51;
constexpr int kFadeTickMs = 40;
constexpr float kPadding = 8.0f;

CalloutPointer PointerOf(int style) {
    if (style == kTipPointUp) return CalloutPointer::kTop;
    if (style == kTipPointDown) return CalloutPointer::kBottom;
    return CalloutPointer::kNone;
}

// Scales a colour's alpha by opacity / 255.
Argb Faded(Argb color, int opacity) {
    const Argb alpha = ((color >> 24) & 0xFF) * static_cast<Argb>(opacity) / 255;
    return (color & 0x00FFFFFFu) | (alpha << 24);
}

}  // namespace

UiTipPanel::~UiTipPanel() {
    // A timer left running would tick into the next control given this id.
    if (UiWindow* w = Window(); w != nullptr && fading_) StopFade(*w);
}

void UiTipPanel::Create(HostHandle hwnd, float left, float top, float width, float height, int style,
                        Argb textColor, const FontChoice& font) {
    if (IsBound()) return;
    style_ = style;
    textColor_ = textColor;
    font_ = FontOf(font);
    CreateBase(hwnd, MakeRect(left, top, width, height), kKindTipPanel, false, false);
    // It explains, it is not pressed: a press on it falls through to the window.
    NoMouse(1, true);
}

int UiTipPanel::Style(int value, bool set) {
    return OnWindowThread(0, [&] {
        if (!IsBound()) return 0;
        if (set) style_ = value;
        return style_;
    });
}

qh::Text UiTipPanel::Text(const qh::Text& text, bool set) {
    return OnWindowThread(qh::Text(), [&] {
        if (!IsBound()) return qh::Text();
        if (set) text_ = text;
        return text_;
    });
}

ControlSnapshot UiTipPanel::Snapshot() const {
    ControlSnapshot s;
    s.text = OnWindowThread(qh::Text(), [&] { return text_; });
    return s;
}

int UiTipPanel::PointerOffset(int value, bool set) {
    return OnWindowThread(0, [&] {
        if (!IsBound()) return 0;
        if (set) pointerOffset_ = value;
        return pointerOffset_;
    });
}

std::intptr_t UiTipPanel::ControlProc(UiWindow& window, int message, std::intptr_t wParam, std::intptr_t lParam) {
    if (message == msg::kShown) {
        // Each showing fades in from nothing; the window paints the first frame.
        opacity_ = 0;
        if (!fading_) {
            fading_ = true;
            window.StartControlTimer(window.IndexOf(this), kFadeTickMs, true);
        }
        return 0;
    }
    if (message == msg::kHidden || message == msg::kDestroy) {
        if (fading_) StopFade(window);
        return 0;
    }
    return UiControl::ControlProc(window, message, wParam, lParam);
}

void UiTipPanel::StopFade(UiWindow& window) {
    fading_ = false;
    window.StopControlTimer(window.IndexOf(this));
}

bool UiTipPanel::Tick(UiWindow& window) {
    if (!fading_) return false;
    opacity_ += kFadeStep;
    if (opacity_ >= 255) {
        opacity_ = 255;
        StopFade(window);
    }
    Redraw();
    return true;
}

RectF UiTipPanel::TextBody() const {
    const RectF b = Bounds();
    const CalloutPointer pointer = PointerOf(style_);
    const float up = pointer == CalloutPointer::kTop ? kCalloutPointerHeight : 0.0f;
    const float down = pointer == CalloutPointer::kBottom ? kCalloutPointerHeight : 0.0f;
    // Inside the padding; the shadow takes 2 pixels.
    return MakeRect(b.left + kPadding, b.top + up + kPadding - 2, b.width - 2 * kPadding - 2,
                    b.height - up - down - 2 * kPadding);
}

TextLines UiTipPanel::TextLayout(Graphics& g) const {
    return FitTextLines(g, text_, font_, TextBody(), 0);
}

void UiTipPanel::Paint(UiWindow&, Graphics& g, int) {
    if (opacity_ <= 0) return;
    const RectF b = Bounds();
    PaintCallout(g, b, PointerOf(style_), b.left + static_cast<float>(pointerOffset_), opacity_);
    // The text wraps within the body; every line shows whole, closed up if need be.
    DrawFittedText(g, text_, font_, Faded(disabled_ != 0 ? qh::Style().disabledText : textColor_, opacity_),
                   TextBody(), 0, 0);
}

}  // namespace qh
