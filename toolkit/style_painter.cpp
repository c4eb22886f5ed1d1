#include "toolkit/style_painter.h"

#include <algorithm>
#include <cmath>

#include "toolkit/control.h"
#include "toolkit/draw.h"

namespace qh {
namespace {

// A colour written as 0xRRGGBB, as the palette below is.
constexpr Argb Rgb(std::uint32_t rgb, std::uint32_t alpha = 255) { return (alpha << 24) | (rgb & 0xFFFFFF); }

constexpr StylePalette kPalette{
    Rgb(0xFDFEFE, 255), Rgb(0xE4EFEB, 255),  // face
    Rgb(0xFFFFFF, 255), Rgb(0xD3EEE4, 255),  // hover
    Rgb(0xC9E3DA, 255), Rgb(0xE6F2EE, 255),  // pressed
    Rgb(0xF2F2F2, 255), Rgb(0xE4E4E4, 255),  // disabled
    Rgb(0xA9C2B9, 255), Rgb(0x4BA88A, 255), Rgb(0x2E8468, 255), Rgb(0xC9C9C9, 255),
    Rgb(0x2E9E7A, 255),                             // accent
    Rgb(0xD5EFE6, 255),                             // light accent
    Rgb(0x233A33, 255), Rgb(0x9AA3A0, 255), Rgb(0xFFFFFF, 255),
    Rgb(0xFFFFFF, 240), Rgb(0xAFC4BD, 255),
};

// Scales a colour's alpha by opacity / 255.
Argb WithOpacity(Argb color, int opacity) {
    const int alpha = ((color >> 24) & 0xFF) * std::clamp(opacity, 0, 255) / 255;
    return (color & 0x00FFFFFFu) | (static_cast<Argb>(alpha) << 24);
}

void FillRounded(Graphics& g, const RectF& r, Argb top, Argb bottom) {
    SetClipPath(g, RoundRectPath(r, kFaceRounding));
    FillGradientRect(g, MakeRect(r.left, r.top, r.width + 1, r.height + 1), top, bottom, 1);
    ResetClip(g);
}

}  // namespace

const StylePalette& Style() { return kPalette; }

void PaintPushFace(Graphics& g, const RectF& bounds, int state, bool disabled, int opacity) {
    const StylePalette& p = Style();
    const RectF r = MakeRect(bounds.left, bounds.top, bounds.width - 1, bounds.height - 1);
    Argb top = p.faceTop, bottom = p.faceBottom, border = p.border;
    if (disabled) {
        top = p.disabledTop, bottom = p.disabledBottom, border = p.disabledBorder;
    } else if (state == kStatePressed) {
        top = p.pressedTop, bottom = p.pressedBottom, border = p.pressedBorder;
    } else if (state == kStateHover) {
        top = p.hoverTop, bottom = p.hoverBottom, border = p.hoverBorder;
    }
    FillRounded(g, r, WithOpacity(top, opacity), WithOpacity(bottom, opacity));
    DrawRoundRect(g, r, kFaceRounding, WithOpacity(border, opacity));
    if (!disabled && IsFocusedState(state)) {
        DrawRoundRect(g, MakeRect(r.left + 2, r.top + 2, r.width - 4, r.height - 4), kFaceRounding - 2,
                      WithOpacity(p.accent, opacity * 3 / 4));
    }
}

void PaintInputBox(Graphics& g, const RectF& bounds, int state, bool disabled, Argb fill, Argb border) {
    const StylePalette& p = Style();
    const RectF r = MakeRect(bounds.left, bounds.top, bounds.width - 1, bounds.height - 1);
    FillRoundRect(g, r, kFaceRounding - 2, disabled ? p.disabledTop : fill);
    Argb frame = border;
    if (disabled) frame = p.disabledBorder;
    else if (IsFocusedState(state)) frame = p.accent;
    else if (state == kStateHover) frame = p.hoverBorder;
    DrawRoundRect(g, r, kFaceRounding - 2, frame);
}

void PaintCheckMark(Graphics& g, const RectF& box, int state, bool checked, bool disabled) {
    const StylePalette& p = Style();
    PaintInputBox(g, box, state, disabled, p.boxFill, p.boxBorder);
    if (!checked) return;
    const Argb ink = disabled ? p.disabledText : p.accent;
    const float x = box.left, y = box.top, s = std::min(box.width, box.height);
    DrawLine(g, ink, x + s * 0.22f, y + s * 0.52f, x + s * 0.42f, y + s * 0.72f, 2.0f);
    DrawLine(g, ink, x + s * 0.42f, y + s * 0.72f, x + s * 0.78f, y + s * 0.28f, 2.0f);
}

void PaintRadioMark(Graphics& g, const RectF& box, int state, bool checked, bool disabled) {
    const StylePalette& p = Style();
    const float s = std::min(box.width, box.height) - 1;
    const RectF circle = MakeRect(box.left, box.top, s, s);
    Argb frame = p.boxBorder;
    if (disabled) frame = p.disabledBorder;
    else if (IsFocusedState(state)) frame = p.accent;
    else if (state == kStateHover) frame = p.hoverBorder;
    FillRoundRect(g, circle, s, disabled ? p.disabledTop : p.boxFill);
    DrawRoundRect(g, circle, s, frame);
    if (checked) {
        const float d = s * 0.5f;
        FillRoundRect(g, MakeRect(box.left + (s - d) / 2, box.top + (s - d) / 2, d, d), d,
                      disabled ? p.disabledText : p.accent);
    }
}

void PaintArrow(Graphics& g, const RectF& box, bool down, Argb color) {
    const float cx = box.left + box.width / 2, cy = box.top + box.height / 2;
    const float w = std::min(box.width, box.height) * 0.28f, h = w * 0.6f;
    if (down) {
        DrawPolygon(g, {{cx - w, cy - h / 2}, {cx + w, cy - h / 2}, {cx, cy + h}}, color, color);
    } else {
        DrawPolygon(g, {{cx - w, cy + h / 2}, {cx + w, cy + h / 2}, {cx, cy - h}}, color, color);
    }
}

// --- Lists, scroll bars, navigation buttons and callouts ---

namespace {

// A rounded gradient of any corner diameter, top to bottom.
void FillRoundedGradient(Graphics& g, const RectF& r, float diameter, Argb top, Argb bottom) {
    SetClipPath(g, RoundRectPath(r, diameter));
    FillGradientRect(g, MakeRect(r.left, r.top, r.width + 1, r.height + 1), top, bottom, 1);
    ResetClip(g);
}

// The corner diameter of tab and side faces, and of callouts.
constexpr float kNavRounding = 8.0f;
// The track of a scroll bar and the fill and shadow of a callout.
constexpr Argb kTrack = Rgb(0xEDF3F1, 255);
constexpr Argb kCalloutFill = Rgb(0xF2FAF6, 255);
constexpr Argb kCalloutShadow = Rgb(0x1E3A30, 36);
// The half width of a callout pointer's base.
constexpr float kPointerHalfBase = 7.0f;

// The outline of a callout body (l, t, r, b) with its pointer.
Path CalloutPath(float l, float t, float r, float b, CalloutPointer pointer, float px) {
    const float d = kNavRounding, h = kCalloutPointerHeight;
    // The pointer's base stays on the straight part of its edge.
    px = std::clamp(px, l + d / 2 + kPointerHalfBase, r - d / 2 - kPointerHalfBase);
    Path p;
    p.AddArc(l, t, d, d, 180, 90);
    if (pointer == CalloutPointer::kTop) {
        p.AddLine(px - kPointerHalfBase, t, px, t - h);
        p.AddLine(px, t - h, px + kPointerHalfBase, t);
    }
    p.AddArc(r - d, t, d, d, 270, 90);
    p.AddArc(r - d, b - d, d, d, 0, 90);
    if (pointer == CalloutPointer::kBottom) {
        p.AddLine(px + kPointerHalfBase, b, px, b + h);
        p.AddLine(px, b + h, px - kPointerHalfBase, b);
    }
    p.AddArc(l, b - d, d, d, 90, 90);
    p.CloseFigure();
    return p;
}

}  // namespace

void PaintItemHighlight(Graphics& g, const RectF& r, bool selected, bool disabled) {
    const StylePalette& p = Style();
    if (selected) {
        FillRect(g, MakeRect(r.left, r.top, r.width + 1, r.height + 1), disabled ? p.disabledBorder : p.accent);
    } else if (!disabled) {
        FillRect(g, MakeRect(r.left, r.top, r.width + 1, r.height + 1), p.accentLight);
    }
}

void PaintListHeader(Graphics& g, const RectF& r, bool disabled) {
    const StylePalette& p = Style();
    FillGradientRect(g, MakeRect(r.left, r.top, r.width + 1, r.height + 1), disabled ? p.disabledTop : p.faceTop,
                     disabled ? p.disabledBottom : p.faceBottom, 1);
    DrawLine(g, disabled ? p.disabledBorder : p.border, r.left, r.Bottom() - 0.5f, r.Right(), r.Bottom() - 0.5f);
}

void PaintScrollBar(Graphics& g, const RectF& track, const RectF& thumb, int thumbState, bool disabled) {
    const StylePalette& p = Style();
    const float inset = 2.0f, w = track.width - 2 * inset;
    FillRoundRect(g, MakeRect(track.left + inset, track.top + 1, w, track.height - 2), w, kTrack);
    Argb ink = p.border;
    if (disabled) ink = p.disabledBorder;
    else if (thumbState == kStatePressed) ink = p.pressedBorder;
    else if (thumbState == kStateHover) ink = p.hoverBorder;
    FillRoundRect(g, MakeRect(thumb.left + inset, thumb.top + 1, w, thumb.height - 2), w, ink);
}

void PaintTabFace(Graphics& g, const RectF& bounds, int state, bool selected, bool disabled) {
    const StylePalette& p = Style();
    const RectF r = MakeRect(bounds.left, bounds.top, bounds.width - 1, bounds.height - 1);
    if (disabled) {
        if (selected) {
            FillRoundedGradient(g, r, kNavRounding, WithOpacity(p.disabledTop, 200),
                                WithOpacity(p.disabledBottom, 200));
        }
        return;
    }
    if (state == kStatePressed) {
        FillRoundedGradient(g, r, kNavRounding, WithOpacity(p.pressedTop, 230), WithOpacity(p.pressedBottom, 230));
        DrawRoundRect(g, r, kNavRounding, p.pressedBorder);
    } else if (selected) {
        FillRoundedGradient(g, r, kNavRounding, WithOpacity(p.hoverTop, 240), WithOpacity(p.accentLight, 240));
        DrawRoundRect(g, r, kNavRounding, p.accent);
    } else if (state == kStateHover) {
        FillRoundedGradient(g, r, kNavRounding, WithOpacity(p.hoverTop, 170), WithOpacity(p.hoverBottom, 150));
        DrawRoundRect(g, r, kNavRounding, WithOpacity(p.hoverBorder, 170));
    }
    if (IsFocusedState(state)) {
        DrawRoundRect(g, MakeRect(r.left + 2, r.top + 2, r.width - 4, r.height - 4), kNavRounding - 2,
                      WithOpacity(p.accent, 150));
    }
}

const SideButtonColors& DefaultSideButtonColors() {
    static constexpr SideButtonColors kDefault{kPalette.accentLight, kPalette.accent, Rgb(0x000000, 210),
                                               Rgb(0x000000, 210), kPalette.selectedText};
    return kDefault;
}

void PaintSideFace(Graphics& g, const RectF& bounds, int state, bool selected, bool disabled,
                   const SideButtonColors& colors) {
    const StylePalette& p = Style();
    const RectF r = MakeRect(bounds.left, bounds.top, bounds.width - 1, bounds.height - 1);
    if (disabled) {
        if (selected) FillRoundRect(g, r, kNavRounding, p.disabledBottom);
        return;
    }
    if (selected || state == kStatePressed) {
        FillRoundRect(g, r, kNavRounding, colors.selectedFace);
    } else if (state == kStateHover) {
        FillRoundRect(g, r, kNavRounding, colors.hoverFace);
    }
    if (IsFocusedState(state)) {
        DrawRoundRect(g, MakeRect(r.left + 1, r.top + 1, r.width - 2, r.height - 2), kNavRounding - 2,
                      WithOpacity(p.accent, 180));
    }
}

Argb SideTextColor(const SideButtonColors& colors, int state, bool selected, bool disabled) {
    if (disabled) return Style().disabledText;
    if (state == kStateHover) return colors.hoverText;
    if (selected || state == kStatePressed) return colors.selectedText;
    return colors.text;
}

void PaintSideArrow(Graphics& g, const RectF& box, bool right, Argb color) {
    const float cx = box.left + box.width / 2, cy = box.top + box.height / 2;
    const float h = std::min(box.width, box.height) * 0.28f, w = h * 0.6f;
    if (right) {
        DrawPolygon(g, {{cx - w / 2, cy - h}, {cx - w / 2, cy + h}, {cx + w, cy}}, color, color);
    } else {
        DrawPolygon(g, {{cx + w / 2, cy - h}, {cx + w / 2, cy + h}, {cx - w, cy}}, color, color);
    }
}

void PaintCallout(Graphics& g, const RectF& bounds, CalloutPointer pointer, float pointerX, int opacity) {
    const StylePalette& p = Style();
    const float h = pointer == CalloutPointer::kNone ? 0.0f : kCalloutPointerHeight;
    // The body leaves room for the pointer and, right and below, for the shadow.
    const float l = bounds.left, r = bounds.Right() - 2;
    const float t = bounds.top + (pointer == CalloutPointer::kTop ? h : 0.0f);
    const float b = bounds.Bottom() - 2 - (pointer == CalloutPointer::kBottom ? h : 0.0f);
    if (r - l < 2 * kNavRounding || b - t < kNavRounding) return;
    g.FillPath(CalloutPath(l + 2, t + 2, r + 2, b + 2, pointer, pointerX + 2), WithOpacity(kCalloutShadow, opacity));
    const Path outline = CalloutPath(l, t, r, b, pointer, pointerX);
    g.FillPath(outline, WithOpacity(kCalloutFill, opacity));
    g.DrawPath(outline, Pen{WithOpacity(p.hoverBorder, opacity), 1.0f, false});
}

void PaintDialogBands(Graphics& g, float w, float h, float lineInset) {
    auto white = [](int alpha) { return (static_cast<Argb>(alpha) << 24) | 0xFFFFFFu; };
    FillGradientRect(g, MakeRect(5, 5, w - 10, 40.1f), white(1), white(190));
    FillGradientRect(g, MakeRect(5, 44, w - 10, h - 84), white(188), white(240));
    FillGradientRect(g, MakeRect(5, h - 40, w - 10, 35), white(190), white(1));
    DrawLine(g, white(210), lineInset, h - 40, w - lineInset, h - 40);
}

void PaintMenuPanel(Graphics& g, const RectF& r) {
    const StylePalette& p = Style();
    const RectF panel = MakeRect(r.left, r.top, r.width - 1, r.height - 1);
    // The shadow: two offset copies of the outline, the outer one fainter.
    FillRoundRect(g, MakeRect(panel.left + 3, panel.top + 3, panel.width, panel.height), kNavRounding,
                  WithOpacity(kCalloutShadow, 110));
    FillRoundRect(g, MakeRect(panel.left + 1, panel.top + 2, panel.width + 1, panel.height), kNavRounding,
                  WithOpacity(kCalloutShadow, 200));
    FillRoundedGradient(g, panel, kNavRounding, Rgb(0xFFFFFF), Rgb(0xF6FAF8));
    DrawRoundRect(g, panel, kNavRounding, p.hoverBorder);
}

void PaintMenuHighlight(Graphics& g, const RectF& r, bool enabled) {
    const StylePalette& p = Style();
    const RectF row = MakeRect(r.left, r.top + 1, r.width - 1, r.height - 2);
    if (enabled) {
        FillRoundedGradient(g, row, kFaceRounding, p.hoverBorder, p.accent);
    } else {
        FillRoundRect(g, row, kFaceRounding, p.accentLight);
    }
}

namespace {

// source drawn over a picture of w x h logical pixels, fitted into box.
void PaintFitted(Graphics& g, const Bitmap& source, float w, float h, const RectF& box, bool disabled, int opacity) {
    if (source.Empty() || box.width <= 0 || box.height <= 0) return;
    const float scale = std::min({1.0f, box.width / w, box.height / h});
    const float dw = std::max(1.0f, std::floor(w * scale)), dh = std::max(1.0f, std::floor(h * scale));
    // Whole pixels, so an icon shown at its own size stays sharp.
    const RectF dest =
        MakeRect(std::floor(box.left + (box.width - dw) / 2), std::floor(box.top + (box.height - dh) / 2), dw, dh);
    g.DrawImage(source, dest, MakeRect(0, 0, float(source.Width()), float(source.Height())),
                disabled ? opacity / 2 : opacity);
}

}  // namespace

void PaintImageFitted(Graphics& g, const Bitmap& image, const RectF& box, bool disabled, int opacity) {
    PaintFitted(g, image, float(image.Width()), float(image.Height()), box, disabled, opacity);
}

void PaintImageFitted(Graphics& g, const UiImage& image, const RectF& box, bool disabled, int opacity) {
    PaintFitted(g, image.PixelsFor(g.Scale()), float(image.Width()), float(image.Height()), box, disabled, opacity);
}

void PaintTextSelection(Graphics& g, const RectF& r, bool focused) {
    g.FillRectangle(r, focused ? Style().accent : Style().accentLight);
}

void PaintCaret(Graphics& g, float x, float top, float bottom, Argb color) {
    // A one-pixel column on the pixel grid, so that it is crisp on both
    // backends (their lines sit differently on the grid).
    g.FillRectangle(MakeRect(std::floor(x), top, 1, bottom - top), color);
}

RectF DropButtonArea(const RectF& bounds) {
    const float w = std::min(20.0f, std::max(0.0f, bounds.width / 2));
    return MakeRect(bounds.left + bounds.width - w - 1, bounds.top + 1, w, std::max(0.0f, bounds.height - 2));
}

void PaintDropBox(Graphics& g, const RectF& bounds, int state, bool disabled, bool open) {
    const StylePalette& p = Style();
    PaintInputBox(g, bounds, open ? kStateFocused : state, disabled, p.boxFill, p.boxBorder);
    const RectF button = DropButtonArea(bounds);
    Argb top = p.faceTop, bottom = p.faceBottom;
    if (disabled) {
        top = p.disabledTop, bottom = p.disabledBottom;
    } else if (open || state == kStatePressed) {
        top = p.pressedTop, bottom = p.pressedBottom;
    } else if (state == kStateHover) {
        top = p.hoverTop, bottom = p.hoverBottom;
    }
    // The button's gradient follows the box's rounded right end.
    SetClipPath(g, RoundRectPath(MakeRect(button.left, button.top, button.width, button.height), kFaceRounding - 3));
    FillGradientRect(g, MakeRect(button.left, button.top, button.width + 1, button.height + 1), top, bottom, 1);
    ResetClip(g);
    DrawLine(g, disabled ? p.disabledBorder : p.boxBorder, button.left, button.top + 2, button.left,
             button.top + button.height - 3);
    PaintArrow(g, button, !open, disabled ? p.disabledText : p.text);
}

void PaintDropList(Graphics& g, const RectF& r) {
    const StylePalette& p = Style();
    const RectF panel = MakeRect(r.left, r.top, r.width - 1, r.height - 1);
    FillRoundRect(g, panel, kFaceRounding - 2, Rgb(0xFFFFFF));
    DrawRoundRect(g, panel, kFaceRounding - 2, p.hoverBorder);
}

}  // namespace qh
