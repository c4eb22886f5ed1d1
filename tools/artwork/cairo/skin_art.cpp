// The skin is stretched over a window as a nine-grid with 30-pixel margins:
// the corners keep their size, the edges stretch along one axis, the centre
// along both. The main window (600 x 440) squeezes the centre a little; the
// results window (220 wide, as high as the main window) squeezes it to a
// quarter of its width. So the picture is built from horizontal bands and
// broad soft shapes that survive both, with no detail that a squeeze would
// distort into something odd.
//
// Rows of the source and where they land in a 440-pixel-high window:
//   0..30    caption band (title text and caption buttons), unscaled
//   30..113  tab band (picture tabs at 34..94 and the banner), to 30..100
//   113..480 body, under the translucent panels, to 100..410
//   480..510 foot, unscaled
#include "tools/artwork/cairo/skin_art.h"

#include <algorithm>
#include <cmath>

namespace qh::art {
namespace {

constexpr double kW = kSkinWidth;
constexpr double kH = kSkinHeight;
// The first row of the body: window row 100, where the panels begin.
constexpr double kBodyTop = 113;
// The caption band's height.
constexpr double kCaption = 27;

void HeaderBase(cairo_t* cr) {
    cairo_rectangle(cr, 0, 0, kW, kBodyTop);
    FillWith(cr, Gradient(0, 0, 0, kBodyTop,
                          {{0x7BCFB8}, {0x5ABFA4}, {0x49B296}, {0x3FA98D}}));
    // Light from the upper left, fading towards the right edge.
    cairo_rectangle(cr, 0, 0, kW, kBodyTop);
    FillWith(cr, Gradient(0, 0, kW, 0, {{0xFFFFFF, 0.16}, {0xFFFFFF, 0.04}, {0x1E6F66, 0.10}}));
}

// A glassy sheen over the caption band, with a soft edge at its foot.
void CaptionSheen(cairo_t* cr) {
    cairo_rectangle(cr, 0, 0, kW, kCaption);
    FillWith(cr, Gradient(0, 0, 0, kCaption, {{0xFFFFFF, 0.42}, {0xFFFFFF, 0.20}, {0xFFFFFF, 0.08}}));
    cairo_rectangle(cr, 0, kCaption, kW, 1);
    SetColor(cr, {0xFFFFFF, 0.22});
    cairo_fill(cr);
}

// Broad ribbons of light sweeping across the tab band, like wind over a field.
void Ribbons(cairo_t* cr) {
    struct Ribbon {
        double y0, c1, c2, y1, thickness, alpha;
    };
    constexpr Ribbon kRibbons[] = {
        {100, 40, 120, 30, 26, 0.10},
        {112, 70, 150, 58, 18, 0.08},
        {90, 130, 20, 64, 34, 0.06},
    };
    for (const Ribbon& r : kRibbons) {
        cairo_move_to(cr, 0, r.y0);
        cairo_curve_to(cr, kW * 0.35, r.c1, kW * 0.65, r.c2, kW, r.y1);
        cairo_line_to(cr, kW, r.y1 + r.thickness);
        cairo_curve_to(cr, kW * 0.65, r.c2 + r.thickness, kW * 0.35, r.c1 + r.thickness, 0, r.y0 + r.thickness);
        cairo_close_path(cr);
        FillWith(cr, Gradient(0, 0, kW, 0, {{0xFFFFFF, 0}, {0xFFFFFF, r.alpha}, {0xFFFFFF, r.alpha * 1.6},
                                            {0xFFFFFF, 0}}));
    }
}

void GrainField(cairo_t* cr) {
    // Between the last tab and the banner, where the band is otherwise empty.
    GrainEar(cr, 478, 44, 66, 22, 0.20);
    GrainEar(cr, 500, 54, 58, 18, 0.14);
    GrainEar(cr, 520, 40, 72, 26, 0.11);
}

// The band's foot: a thin shadow, then a line of light where the body begins.
void HeaderFoot(cairo_t* cr) {
    cairo_rectangle(cr, 0, kBodyTop - 6, kW, 6);
    FillWith(cr, Gradient(0, kBodyTop - 6, 0, kBodyTop, {{0x1F6B5A, 0}, {0x1F6B5A, 0.16}}));
}

void Body(cairo_t* cr) {
    cairo_rectangle(cr, 0, kBodyTop, kW, kH - kBodyTop);
    FillWith(cr, Gradient(0, kBodyTop, 0, kH, {{0xDDF1E9}, {0xEEF8F4}, {0xF3FAF7}, {0xE6F4EE}, {0xD6EDE3}}));
    // A soft shade under the band, so the band seems to float over the page.
    cairo_rectangle(cr, 0, kBodyTop, kW, 14);
    FillWith(cr, Gradient(0, kBodyTop, 0, kBodyTop + 14, {{0x2A7F6A, 0.12}, {0x2A7F6A, 0}}));
}

// Low rolling hills along the foot of the body: the field the grain grows in.
void Hills(cairo_t* cr) {
    cairo_move_to(cr, 0, 440);
    cairo_curve_to(cr, 160, 400, 330, 470, 480, 440);
    cairo_curve_to(cr, 590, 418, 670, 420, kW, 432);
    cairo_line_to(cr, kW, kH);
    cairo_line_to(cr, 0, kH);
    cairo_close_path(cr);
    FillWith(cr, Gradient(0, 410, 0, kH, {{0xB9E0D0, 0.55}, {0xA8D8C4, 0.45}}));

    cairo_move_to(cr, 0, 470);
    cairo_curve_to(cr, 200, 445, 360, 500, 560, 470);
    cairo_curve_to(cr, 640, 458, 700, 462, kW, 468);
    cairo_line_to(cr, kW, kH);
    cairo_line_to(cr, 0, kH);
    cairo_close_path(cr);
    FillWith(cr, Gradient(0, 450, 0, kH, {{0x8FCDB5, 0.45}, {0x7CC2A8, 0.50}}));
}

// A faint grain over the whole picture: it keeps the gradients from banding
// once the picture is stretched and compressed.
void Texture(ArtCanvas& canvas) {
    cairo_surface_t* surface = cairo_get_target(canvas.Cr());
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    Noise noise(0x51A9E5u);
    for (int y = 0; y < canvas.Height(); ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
        for (int x = 0; x < canvas.Width(); ++x) {
            const int delta = static_cast<int>(std::lround(noise.Next() * 2.0));
            std::uint32_t out = 0xFF000000u;
            for (int shift : {16, 8, 0}) {
                const int c = std::clamp(static_cast<int>((row[x] >> shift) & 0xFF) + delta, 0, 255);
                out |= static_cast<std::uint32_t>(c) << shift;
            }
            row[x] = out;
        }
    }
    cairo_surface_mark_dirty(surface);
}

// A hairline of light just inside the window's frame.
void InnerEdge(cairo_t* cr) {
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, 1.5, 1.5, kW - 3, kH - 3);
    SetColor(cr, {0xFFFFFF, 0.35});
    cairo_stroke(cr);
}

}  // namespace

void DrawSkin(ArtCanvas& canvas) {
    cairo_t* cr = canvas.Cr();
    HeaderBase(cr);
    Ribbons(cr);
    GrainField(cr);
    CaptionSheen(cr);
    HeaderFoot(cr);
    Body(cr);
    Hills(cr);
    Texture(canvas);
    InnerEdge(cr);
}

void GrainEar(cairo_t* cr, double x, double y, double height, double bow, double alpha) {
    SetColor(cr, {0xFFFFFF, alpha});
    cairo_set_line_width(cr, 1.6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, x, y + height);
    cairo_curve_to(cr, x, y + height * 0.5, x + bow * 0.4, y + height * 0.1, x + bow, y);
    cairo_stroke(cr);
    constexpr int kGrains = 7;
    for (int i = 0; i < kGrains; ++i) {
        const double t = 0.12 + 0.11 * i;  // from the tip down the stalk
        const double u = 1 - t;
        // A point on the stalk's curve at parameter u (0 at the foot, 1 at the tip).
        const double px = std::pow(1 - u, 3) * x + 3 * std::pow(1 - u, 2) * u * x +
                          3 * (1 - u) * u * u * (x + bow * 0.4) + std::pow(u, 3) * (x + bow);
        const double py = std::pow(1 - u, 3) * (y + height) + 3 * std::pow(1 - u, 2) * u * (y + height * 0.5) +
                          3 * (1 - u) * u * u * (y + height * 0.1) + std::pow(u, 3) * y;
        const double size = 5.5 - 0.35 * i;
        for (int side : {-1, 1}) {
            cairo_save(cr);
            cairo_translate(cr, px, py);
            cairo_rotate(cr, side * 0.65 + 0.25);
            cairo_scale(cr, size * 0.45, size);
            cairo_arc(cr, 0, -1, 1, 0, 2 * kPi);
            cairo_restore(cr);
            cairo_fill(cr);
        }
    }
}

}  // namespace qh::art
