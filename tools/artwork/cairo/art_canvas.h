// ArtCanvas: one cairo image surface to draw a piece of the calculator's
// artwork on, and the encoders that write it as the file the program embeds.
// Everything here is deterministic: the same sources give the same bytes, so
// the committed images can be checked against a fresh build.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <initializer_list>
#include <numbers>
#include <string>

namespace qh::art {

inline constexpr double kPi = std::numbers::pi;

// A colour as 0xRRGGBB with an opacity 0..1.
struct Paint {
    std::uint32_t rgb;
    double alpha = 1.0;
};

class ArtCanvas {
public:
    // A transparent ARGB surface; opaque = true makes an RGB surface for the
    // JPEG skin. At scale 2 the surface has twice the pixels each way and the
    // drawing code, which works in the piece's own size, is drawn at twice
    // the size: the double picture for screens at 150 % and more.
    ArtCanvas(int width, int height, bool opaque = false, int scale = 1);
    ~ArtCanvas();
    ArtCanvas(const ArtCanvas&) = delete;
    ArtCanvas& operator=(const ArtCanvas&) = delete;

    cairo_t* Cr() { return cr_; }
    // The piece's size, whatever the scale.
    int Width() const { return width_; }
    int Height() const { return height_; }

    // False when the file cannot be written.
    bool WritePng(const std::string& path);
    bool WriteJpeg(const std::string& path, int quality);

private:
    int width_;
    int height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// --- drawing helpers shared by every piece ---

void SetColor(cairo_t* cr, Paint p);
// A linear gradient from (x0, y0) to (x1, y1) through evenly spaced stops.
cairo_pattern_t* Gradient(double x0, double y0, double x1, double y1, std::initializer_list<Paint> stops);
// Fills the current path with the pattern and releases the pattern.
void FillWith(cairo_t* cr, cairo_pattern_t* pattern, bool preserve = false);
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);
// A soft shadow: an ellipse of fading darkness, for icons standing on the ground.
void GroundShadow(cairo_t* cr, double cx, double cy, double rx, double ry, double alpha);

// Text (UTF-8) as filled outlines at the current point, unhinted: the
// outlines come from the font file alone, so the pixels do not depend on the
// machine's hinting settings.
void TextPath(cairo_t* cr, const char8_t* utf8, double size);
// How far the text advances at that size.
double TextWidth(cairo_t* cr, const char8_t* utf8, double size);

// The maker's mark, the character 禾 (grain) as five brush strokes inside the
// box (x, y, size, size), stroked with the current source.
void GrainMark(cairo_t* cr, double x, double y, double size, double strokeWidth);

// A small deterministic noise source, so textures and dithering come out the
// same on every run.
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state_(seed) {}
    // A value in [-1, 1).
    double Next();

private:
    std::uint32_t state_;
};

}  // namespace qh::art
