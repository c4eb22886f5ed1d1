#include "toolkit/text_lines.h"

#include <cmath>

#include "toolkit/draw.h"

namespace qh {
namespace {

// The font never steps below this size: smaller Chinese text is no longer
// legible. A text that does not fit even so is cut at the bottom.
constexpr float kSmallestFittedSize = 9.0f;
constexpr float kSizeStep = 0.5f;
// Closer lines and the smallest size together take a little over half the
// height of the font's own layout: a text more than twice as tall as its
// rectangle cannot be fitted.
constexpr float kMostFitted = 2.0f;
// Measurements are in fractions of a pixel; this much over is still a fit.
constexpr float kFitTolerance = 0.5f;

// GDI+'s inset of a line from the left edge of its box, per pixel of size.
constexpr float kLeadingInsetPerSize = 1.0f / 6.0f;

constexpr TextFormat kOneLine{0, 0, 0, 0, kFormatNoWrap};

// The byte length of the GBK character at i.
std::size_t CharLength(const Text& text, std::size_t i) {
    return IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// Breaks one line of the text (no line breaks in it) to the width, where
// the backend, wrapping it there, would start a second line.
void BreakToWidth(Graphics& g, const Text& paragraph, const UiFont& font, float width, std::vector<Text>& out) {
    const float lineHeight = FontLineHeight(g, font);
    Text line;
    std::size_t lastSpace = Text::npos;
    for (std::size_t i = 0; i < paragraph.size();) {
        const std::size_t n = CharLength(paragraph, i);
        const Text ch = paragraph.substr(i, n);
        i += n;
        if (!line.empty() && !FitsOneLine(g, line + ch, font, width, lineHeight)) {
            if (ch == " ") {
                out.push_back(line);
                line.clear();
                lastSpace = Text::npos;
                continue;
            }
            // A Latin word is carried over whole when the line has a space to break at.
            if (n == 1 && lastSpace != Text::npos && lastSpace > 0) {
                out.push_back(line.substr(0, lastSpace));
                line.erase(0, lastSpace + 1);
            } else {
                out.push_back(line);
                line.clear();
            }
            lastSpace = Text::npos;
        }
        if (ch == " ") lastSpace = line.size();
        line += ch;
    }
    out.push_back(line);
}

// The lines at the font's own line height.
TextLines SetLines(Graphics& g, const Text& text, const UiFont& font, float width) {
    TextLines set;
    set.font = font;
    set.lines = BreakLines(g, text, font, width);
    set.lineHeight = FontLineHeight(g, font);
    set.pitch = set.lineHeight;
    return set;
}

// The height of the backend's own layout of the whole text in the width.
float BackendHeight(Graphics& g, const Text& text, const UiFont& font, const RectF& layout, int formatFlags) {
    // A height of 0 leaves the height unbounded, so that every line is measured.
    const RectF open = MakeRect(layout.left, layout.top, layout.width, 0);
    return g.MeasureString(text, font, open, TextFormat{0, 0, 0, 0, formatFlags}).height;
}

// Whether a text whose own layout is natural pixels tall is set line by line
// in a rectangle height pixels tall. A text that fits is left as it is; one
// far too long for its rectangle (a server's release notes, say) could not
// be fitted legibly, and is not broken up character by character at every
// paint to find that out.
bool NeedsFitting(float natural, float height) {
    return natural > height + kFitTolerance && natural <= height * kMostFitted;
}

// The width lines wrap at: none (0) for a text that must not wrap.
float WrapWidth(const RectF& layout, int formatFlags) { return (formatFlags & kFormatNoWrap) ? 0 : layout.width; }

// Sets a text that its own layout does not fit into height: the lines
// closer, whole pixels apart but never nearer than the size, then the font a
// step smaller, down to the smallest fitted size.
TextLines CloseUp(Graphics& g, const Text& text, const UiFont& font, float height, float width) {
    UiFont smaller = font;
    for (;;) {
        TextLines set = SetLines(g, text, smaller, width);
        const std::size_t n = set.lines.size();
        if (set.Height() <= height + kFitTolerance || n < 2) return set;
        // Whole pixels, so that every line stands the same distance below the last.
        const float closer = std::floor((height - set.lineHeight) / static_cast<float>(n - 1));
        if (closer >= smaller.size) {
            set.pitch = closer;
            return set;
        }
        if (smaller.size - kSizeStep < kSmallestFittedSize) {
            set.pitch = smaller.size;
            return set;
        }
        smaller.size -= kSizeStep;
    }
}

}  // namespace

float TextLines::Height() const {
    if (lines.empty()) return 0;
    return pitch * static_cast<float>(lines.size() - 1) + lineHeight;
}

float FontLineHeight(Graphics& g, const UiFont& font) {
    return g.MeasureString("国", font, MakeRect(0, 0, 0, 0), kOneLine).height;
}

bool FitsOneLine(Graphics& g, const Text& line, const UiFont& font, float width, float lineHeight) {
    // Half a line's leeway: a second line would add a whole one.
    return g.MeasureString(line, font, MakeRect(0, 0, width, 0), TextFormat{}).height < lineHeight * 1.5f;
}

std::vector<Text> BreakLines(Graphics& g, const Text& text, const UiFont& font, float width) {
    std::vector<Text> lines;
    std::size_t start = 0;
    for (;;) {
        std::size_t end = text.find('\n', start);
        Text paragraph = text.substr(start, end == Text::npos ? Text::npos : end - start);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
        if (width > 0) {
            BreakToWidth(g, paragraph, font, width, lines);
        } else {
            lines.push_back(paragraph);
        }
        if (end == Text::npos) break;
        start = end + 1;
    }
    // Blank lines at the end take no room: nothing is drawn in them.
    while (lines.size() > 1 && lines.back().empty()) lines.pop_back();
    return lines;
}

TextLines FitTextLines(Graphics& g, const Text& text, const UiFont& font, const RectF& layout, int formatFlags) {
    const float width = WrapWidth(layout, formatFlags);
    if (!NeedsFitting(BackendHeight(g, text, font, layout, formatFlags), layout.height)) {
        return SetLines(g, text, font, width);
    }
    return CloseUp(g, text, font, layout.height, width);
}

TextLines LinesAtPitch(Graphics& g, const Text& text, const UiFont& font, float pitch) {
    TextLines set = SetLines(g, text, font, 0);
    set.pitch = pitch;
    return set;
}

void DrawFittedLines(Graphics& g, const TextLines& lines, Argb color, const RectF& layout, int align, int effect) {
    float top = layout.top;
    if (align >= 3 && align <= 5) top += std::floor((layout.height - lines.Height()) / 2);
    // GDI+ sets a line a sixth of the size in from its box's left edge, yet
    // judges it to fit the width without that: the band is as much wider, so
    // that the line's last character is not cut.
    const float width = layout.width + lines.font.size * kLeadingInsetPerSize;
    for (const Text& line : lines.lines) {
        // A line that would pass the bottom (a text too long even at the
        // smallest size) is left out rather than drawn over what lies below.
        if (top + lines.lineHeight > layout.top + layout.height + kFitTolerance) break;
        if (!line.empty()) {
            DrawText(g, line, lines.font, color, MakeRect(layout.left, top, width, lines.lineHeight), align % 3, 0, 0,
                     kFormatNoWrap, effect);
        }
        top += lines.pitch;
    }
}

void DrawFittedText(Graphics& g, const Text& text, const UiFont& font, Argb color, const RectF& layout, int align,
                    int formatFlags, int effect) {
    // One line that does not wrap is the backend's to lay out, as is a text that fits.
    const bool oneLine = (formatFlags & kFormatNoWrap) && text.find('\n') == Text::npos;
    if (!oneLine && NeedsFitting(BackendHeight(g, text, font, layout, formatFlags), layout.height)) {
        const float width = WrapWidth(layout, formatFlags);
        const TextLines lines = CloseUp(g, text, font, layout.height, width);
        if (lines.lines.size() > 1) return DrawFittedLines(g, lines, color, layout, align, effect);
    }
    DrawText(g, text, font, color, layout, align, 0, 0, formatFlags, effect);
}

}  // namespace qh
