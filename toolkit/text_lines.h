// Multi-line texts set so that every line shows whole in its rectangle.
// A text written for one face's metrics (SimSun's 12 px lines) can be
// taller in another face, whose line height includes more leading: its last
// line would then be cut by the rectangle. FitTextLines keeps the rectangle
// and the text and sets the lines closer instead, or, where even that is not
// enough, a little smaller.
#pragma once

#include <vector>

#include "toolkit/draw.h"
#include "toolkit/graphics.h"

namespace qh {

// A text as it is drawn line by line: the font, the lines and where they stand.
struct TextLines {
    UiFont font;
    std::vector<Text> lines;
    float lineHeight = 0;  // the font's own line height, as the backend lays a line out
    float pitch = 0;       // from the top of one line to the top of the next
    // From the top of the first line to the bottom of the last.
    float Height() const;
};

// The height of one line of the font, as the backend measures it.
float FontLineHeight(Graphics& g, const UiFont& font);

// Whether the backend, wrapping line to width, keeps it on one line.
bool FitsOneLine(Graphics& g, const Text& line, const UiFont& font, float width, float lineHeight);

// The text's lines: broken at CR LF (or LF) and, when width > 0, where the
// backend would wrap a line (after a space when a word of Latin letters is
// cut, else before the character that does not fit). Blank lines at the end
// are left out.
std::vector<Text> BreakLines(Graphics& g, const Text& text, const UiFont& font, float width);

// The text set in layout so that every line shows whole: as the backend
// lays it out when that fits (or when it is more than twice too tall to be
// fitted legibly); else line by line, the lines closed up so that
// the last one ends at the bottom, but never nearer than the font's size (a
// Chinese character's height); below that the font steps down a little at a
// time. formatFlags are the text's TextFormat flags (kFormatNoWrap: lines
// break only where the text breaks them).
TextLines FitTextLines(Graphics& g, const Text& text, const UiFont& font, const RectF& layout, int formatFlags);

// The text's lines at a fixed pitch (as DrawTextLines draws them), broken
// only where the text breaks them.
TextLines LinesAtPitch(Graphics& g, const Text& text, const UiFont& font, float pitch);

// Draws lines set by FitTextLines: each in a band as high as the font's
// line height, pitch below the one before, down to the bottom of layout;
// align and effect as DrawText takes them (align 3-5 centre the lines
// vertically in layout).
void DrawFittedLines(Graphics& g, const TextLines& lines, Argb color, const RectF& layout, int align,
                     int effect = kEffectNone);

// Draws text in layout as FitTextLines sets it: through DrawText when the
// backend's layout fits, else line by line.
void DrawFittedText(Graphics& g, const Text& text, const UiFont& font, Argb color, const RectF& layout, int align,
                    int formatFlags, int effect = kEffectNone);

}  // namespace qh
