#include "toolkit/draw.h"

#include <algorithm>

namespace qh {

void Path::AddLine(float x1, float y1, float x2, float y2) {
    segments_.push_back(Segment{Segment::kLine, x1, y1, x2, y2, 0, 0});
}

void Path::AddArc(float x, float y, float w, float h, float startDeg, float sweepDeg) {
    segments_.push_back(Segment{Segment::kArc, x, y, w, h, startDeg, sweepDeg});
}

void Path::AddPolygon(const std::vector<PointF>& points) {
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        AddLine(points[i].x, points[i].y, points[i + 1].x, points[i + 1].y);
    }
    closed_ = true;
}

void FillRect(Graphics& g, const RectF& r, Argb color) {
    g.FillRectangle(MakeRect(r.left, r.top, r.width - 1, r.height - 1), color);
}

void FillGradientRect(Graphics& g, const RectF& r, Argb from, Argb to, int mode) {
    g.FillGradient(MakeRect(r.left, r.top, r.width - 1, r.height - 1), r, from, to, mode == 1);
}

void DrawLine(Graphics& g, Argb color, float x1, float y1, float x2, float y2, float penWidth) {
    g.DrawLine(Pen{color, penWidth, false}, PointF{x1, y1}, PointF{x2, y2});
}

void DrawRectStyled(Graphics& g, const RectF& r, std::int64_t style, Argb color, bool hasColor,
                    float penWidth) {
    const float l = r.left, t = r.top, rr = r.left + r.width - 1, b = r.top + r.height - 1;
    if (style == 1) {
        Pen dark{MakeArgb(0x000000, 160), penWidth, false};
        Pen light{MakeArgb(0xFFFFFF, 245), penWidth, false};
        g.DrawLine(dark, {l, t}, {rr, t});
        g.DrawLine(dark, {l, t}, {l, b});
        g.DrawLine(light, {l, b}, {rr, b});
        g.DrawLine(light, {rr, t}, {rr, b});
        return;
    }
    if (style == 2) {
        Pen light{MakeArgb(0xFFFFFF, 245), penWidth, false};
        Pen dark{MakeArgb(0x000000, 168), penWidth, false};
        g.DrawLine(light, {l, t}, {rr - 2, t});
        g.DrawLine(light, {l, t}, {l, b - 2});
        g.DrawLine(dark, {l, b}, {rr, b});
        g.DrawLine(dark, {rr, t}, {rr, b});
        return;
    }
    Pen pen{0, penWidth, false};
    if (style == 3) {
        pen.color = hasColor ? color : MakeArgb(0x646464, 255);
    } else if (style == 4) {
        pen.color = hasColor ? color : MakeArgb(0x000000, 90);
        pen.dashed = true;
    } else {
        pen.color = static_cast<Argb>(style);
    }
    g.DrawRectangle(MakeRect(l, t, r.width - 1, r.height - 1), pen);
}

Path RoundRectPath(const RectF& r, float d) {
    Path p;
    p.AddArc(r.left, r.top, d, d, 180, 90);
    p.AddArc(r.left + r.width - d - 1, r.top, d, d, 270, 90);
    p.AddArc(r.left + r.width - d - 1, r.top + r.height - d - 1, d, d, 0, 90);
    p.AddArc(r.left, r.top + r.height - d - 1, d, d, 90, 90);
    p.CloseFigure();
    return p;
}

void FillRoundRect(Graphics& g, const RectF& r, float diameter, Argb color) {
    g.FillPath(RoundRectPath(r, diameter), color);
}

void DrawRoundRect(Graphics& g, const RectF& r, float diameter, Argb color, float penWidth) {
    g.DrawPath(RoundRectPath(r, diameter), Pen{color, penWidth, false});
}

void SetClipRect(Graphics& g, const RectF& r) { g.SetClip(r); }
void SetClipPath(Graphics& g, const Path& path) { g.SetClip(path); }
void ResetClip(Graphics& g) { g.ResetClip(); }

void DrawPolygon(Graphics& g, const std::vector<PointF>& points, Argb fill, Argb line) {
    if (points.size() < 2) return;
    Path p;
    p.AddPolygon(points);
    g.FillPath(p, fill);
    g.DrawPath(p, Pen{line, 1.0f, false});
}

RectF MeasureText(Graphics& g, const Text& text, const UiFont& font, const RectF& layout) {
    return g.MeasureString(text, font, layout, TextFormat{});
}

Argb EffectColor(Argb textColor, std::int64_t effectColor, bool hasEffectColor) {
    if (hasEffectColor && effectColor != -1) return static_cast<Argb>(effectColor);
    return IsDarkColor(textColor) ? MakeArgb(0xFFFFFF, 90) : MakeArgb(0x000000, 70);
}

namespace {

void MoveRect(RectF& r, float dx, float dy) {
    r.left += dx;
    r.top += dy;
}

// The halo: the text in the effect colour around its own position, in the
// eight directions one pixel away, so the text sits on a soft rim.
void DrawHalo(Graphics& g, const Text& text, const UiFont& font, Argb color, const RectF& layout,
              const TextFormat& format) {
    static constexpr float kOffsets[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0},
                                             {1, 0},   {-1, 1}, {0, 1},  {1, 1}};
    for (const auto& o : kOffsets) {
        RectF r = layout;
        MoveRect(r, o[0], o[1]);
        g.DrawString(text, font, color, r, format);
    }
}

}  // namespace

void DrawText(Graphics& g, const Text& text, const UiFont& font, Argb color, const RectF& layout,
              int align, int trimming, int hotkeyPrefix, int formatFlags, int effect,
              std::int64_t effectColor, bool hasEffectColor) {
    TextFormat format{align % 3, 0, trimming, hotkeyPrefix, formatFlags};
    if (align < 0 || align > 5) format.align = 0;
    RectF r = layout;
    if (align >= 3 && align <= 5) {
        RectF measured = g.MeasureString(text, font, layout, format);
        r.top = layout.top + (layout.height - measured.height) / 2;
        r.height = measured.height;
    }
    if (effect != kEffectNone) {
        Argb shade = EffectColor(color, effectColor, hasEffectColor);
        RectF moved = r;
        if (effect == kEffectShadowUpLeft) {
            MoveRect(moved, -1, -1);
            g.DrawString(text, font, shade, moved, format);
        } else if (effect == kEffectShadowDownRight) {
            MoveRect(moved, 1, 1);
            g.DrawString(text, font, shade, moved, format);
        } else if (effect == kEffectHalo) {
            DrawHalo(g, text, font, shade, r, format);
        }
    }
    g.DrawString(text, font, color, r, format);
}

void DrawTextLines(Graphics& g, const Text& text, const UiFont& font, Argb color, const RectF& layout,
                   float pitch, int align, int formatFlags, int effect) {
    float top = layout.top;
    std::size_t start = 0;
    while (start <= text.size() && top < layout.top + layout.height) {
        std::size_t end = text.find('\n', start);
        if (end == Text::npos) end = text.size();
        Text line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) {
            DrawText(g, line, font, color, MakeRect(layout.left, top, layout.width, pitch), align, 0, 0,
                     formatFlags, effect);
        }
        top += pitch;
        start = end + 1;
    }
}

void DrawGlowText(Graphics& g, const Text& text, const UiFont& font, Argb color, const RectF& r,
                  int glowSize) {
    g.DrawGlowString(text, font, color, r, glowSize);
}

void DrawGlowTextByOffsets(Graphics& g, const Text& text, const UiFont& font, Argb color, const RectF& r,
                           int glowSize) {
    TextFormat format{0, 0, 0, 0, kFormatNoWrap};
    RectF measured = g.MeasureString(text, font, r, format);
    RectF line = r;
    line.top = r.top + (r.height - measured.height) / 2;
    line.height = measured.height;
    // Rings of fading white out to the glow size give the caption its glow.
    int rings = std::clamp(glowSize / 2, 1, 4);
    for (int ring = rings; ring >= 1; --ring) {
        Argb glow = MakeArgb(0xFFFFFF, 60 + 30 * (rings - ring));
        for (int dx = -ring; dx <= ring; dx += ring) {
            for (int dy = -ring; dy <= ring; dy += ring) {
                if (dx == 0 && dy == 0) continue;
                RectF moved = line;
                MoveRect(moved, static_cast<float>(dx), static_cast<float>(dy));
                g.DrawString(text, font, glow, moved, format);
            }
        }
    }
    g.DrawString(text, font, color, line, format);
}

void DrawNineGrid(Graphics& g, const Bitmap& image, const RectF& dest, const Margins& m, int opacity) {
    const float W = static_cast<float>(image.Width()), H = static_cast<float>(image.Height());
    if (W <= 0 || H <= 0) return;
    const float srcX[4] = {0, m.left, W - m.right, W};
    const float srcY[4] = {0, m.top, H - m.bottom, H};
    const float dstX[4] = {dest.left, dest.left + m.left, dest.left + dest.width - m.right, dest.left + dest.width};
    const float dstY[4] = {dest.top, dest.top + m.top, dest.top + dest.height - m.bottom, dest.top + dest.height};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            RectF s = MakeRect(srcX[col], srcY[row], srcX[col + 1] - srcX[col], srcY[row + 1] - srcY[row]);
            RectF d = MakeRect(dstX[col], dstY[row], dstX[col + 1] - dstX[col], dstY[row + 1] - dstY[row]);
            if (s.width <= 0 || s.height <= 0 || d.width <= 0 || d.height <= 0) continue;
            g.DrawImage(image, d, s, opacity);
        }
    }
}

}  // namespace qh
