// The drawing operations of the toolkit, as controls, window backgrounds and
// the programs' own paint handlers call them. Each is written once here over
// the small Graphics interface, so both backends draw the same.
#pragma once

#include <vector>

#include "toolkit/bitmap.h"
#include "toolkit/geometry.h"
#include "toolkit/graphics.h"

namespace qh {

class UiImage;

// Fills the rectangle (width - 1) x (height - 1), as the skins expect.
void FillRect(Graphics& g, const RectF& r, Argb color);
// mode 1: top to bottom; 0: left to right. Covers width - 1 by height - 1.
void FillGradientRect(Graphics& g, const RectF& r, Argb from, Argb to, int mode = 1);
// Edge styles: 1 sunken, 2 raised, 3 solid, 4 dashed; any other value is the
// pen colour of a solid rectangle.
void DrawRectStyled(Graphics& g, const RectF& r, std::int64_t style, Argb color = 0,
                    bool hasColor = false, float penWidth = 1.0f);
void DrawLine(Graphics& g, Argb color, float x1, float y1, float x2, float y2, float penWidth = 1.0f);

Path RoundRectPath(const RectF& r, float diameter);
void FillRoundRect(Graphics& g, const RectF& r, float diameter, Argb color);
void DrawRoundRect(Graphics& g, const RectF& r, float diameter, Argb color, float penWidth = 1.0f);
void SetClipRect(Graphics& g, const RectF& r);
void SetClipPath(Graphics& g, const Path& path);
void ResetClip(Graphics& g);
void DrawPolygon(Graphics& g, const std::vector<PointF>& points, Argb fill, Argb line);

RectF MeasureText(Graphics& g, const Text& text, const UiFont& font, const RectF& layout);

// Text effects: 0 none, 1 shadow up-left, 2 shadow down-right, 3 halo.
enum TextEffect : int { kEffectNone = 0, kEffectShadowUpLeft = 1, kEffectShadowDownRight = 2, kEffectHalo = 3 };
// The colour of a text effect when none is given (or -1 is): a light shadow
// under dark text, a dark one under light text.
Argb EffectColor(Argb textColor, std::int64_t effectColor = -1, bool hasEffectColor = false);
// align 0-2 near / centre / far; 3-5 the same, centred vertically.
void DrawText(Graphics& g, const Text& text, const UiFont& font, Argb color, const RectF& layout,
              int align = 0, int trimming = 0, int hotkeyPrefix = 0, int formatFlags = 0,
              int effect = kEffectNone, std::int64_t effectColor = -1, bool hasEffectColor = false);
// Text of several lines (separated by CR LF or LF), each line in its own band
// pitch pixels below the one before, whatever the font's own line height:
// for columns of captions and figures that must stand level with rows laid
// out on a fixed grid. The other arguments are DrawText's, applied to each
// line within its band; lines below the layout are not drawn.
void DrawTextLines(Graphics& g, const Text& text, const UiFont& font, Argb color, const RectF& layout,
                   float pitch, int align = 0, int formatFlags = 0, int effect = kEffectNone);
// Caption text on a soft white glow, through the backend's own glow.
void DrawGlowText(Graphics& g, const Text& text, const UiFont& font, Argb color, const RectF& r,
                  int glowSize = 5);
// The glow composed from rings of fading white copies of the text, centred
// vertically in r: for backends without a system glow.
void DrawGlowTextByOffsets(Graphics& g, const Text& text, const UiFont& font, Argb color, const RectF& r,
                           int glowSize);

// Stretches image over dest: corners keep their size, edges stretch along one
// axis, the centre along both.
void DrawNineGrid(Graphics& g, const Bitmap& image, const RectF& dest, const Margins& m, int opacity = 255);

}  // namespace qh
