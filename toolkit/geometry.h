// Rectangles, points, margins and colours shared by the drawing code and the
// control model. Coordinates are window-client pixels held as floats; colours
// are 32-bit ARGB values (alpha in the top byte).
#pragma once

#include <cstdint>

namespace qh {

using Argb = std::uint32_t;

struct RectF {
    float left = 0, top = 0, width = 0, height = 0;
    float Right() const { return left + width; }
    float Bottom() const { return top + height; }
    bool Contains(float x, float y) const {
        return x - left >= 0 && y - top >= 0 && x < left + width && y < top + height;
    }
    bool Intersects(const RectF& o) const {
        return left < o.Right() && o.left < Right() && top < o.Bottom() && o.top < Bottom();
    }
};

struct PointF {
    float x = 0, y = 0;
};

// Nine-grid margins: the parts of an image that keep their size at each edge.
struct Margins {
    float left = 0, top = 0, right = 0, bottom = 0;
};

// A pixel rectangle, used where buffers are copied and presented.
struct RectI {
    int left = 0, top = 0, width = 0, height = 0;
    bool Empty() const { return width <= 0 || height <= 0; }
};

RectF MakeRect(float left, float top, float width, float height);
void SetRect(RectF& r, float left, float top, float width, float height);
// The whole pixels a float rectangle touches, clipped to a width x height area.
RectI PixelBounds(const RectF& r, int width, int height);
RectF ToRectF(const RectI& r);

// An ARGB colour from a COLORREF (0x00BBGGRR) and an alpha. Without an alpha
// the colour gets 254; an alpha of 255 is stored as 254 as well, so no colour
// made here is ever fully opaque by value. constexpr, so that the programs'
// colour tables can be written with it.
constexpr Argb MakeArgb(std::uint32_t colorref, int alpha = 254, bool alphaGiven = true) {
    if (!alphaGiven || alpha >= 255) alpha = 254;
    if (alpha < 0) alpha = 0;
    const std::uint32_t r = colorref & 0xFF, g = (colorref >> 8) & 0xFF, b = (colorref >> 16) & 0xFF;
    return (static_cast<std::uint32_t>(alpha) << 24) | (r << 16) | (g << 8) | b;
}

// True unless at least two of the red, green and blue parts are 126 or more.
bool IsDarkColor(Argb argb);

constexpr int AlphaOf(Argb c) { return static_cast<int>(c >> 24); }
constexpr int RedOf(Argb c) { return static_cast<int>((c >> 16) & 0xFF); }
constexpr int GreenOf(Argb c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(Argb c) { return static_cast<int>(c & 0xFF); }

// Mouse positions travel in an lParam as two 16-bit halves, as on Windows.
constexpr std::int32_t MakeLParam(int low, int high) {
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(high & 0xFFFF) << 16) |
                                     static_cast<std::uint32_t>(low & 0xFFFF));
}
constexpr int LoWordSigned(std::int32_t v) { return static_cast<std::int16_t>(v & 0xFFFF); }
constexpr int HiWordSigned(std::int32_t v) {
    return static_cast<std::int16_t>((static_cast<std::uint32_t>(v) >> 16) & 0xFFFF);
}

}  // namespace qh
