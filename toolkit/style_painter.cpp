#include "toolkit/style_painter.h"

#include <algorithm>

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

}  // namespace qh
