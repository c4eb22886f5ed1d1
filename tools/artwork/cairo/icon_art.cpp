// Small pictures are drawn on a half-pixel grid where their edges are
// straight, so outlines fall on whole pixels and stay crisp at 1:1.
#include "tools/artwork/cairo/icon_art.h"

namespace qh::art {
namespace {

// A house whose roof ridge is at (cx, top) and whose walls are w wide; the
// whole house is about w + 6 wide and 0.9 w + 6 high.
void House(cairo_t* cr, double cx, double top, double w) {
    const double eave = top + w * 0.46;
    const double wallLeft = cx - w / 2, wallRight = cx + w / 2;
    const double ground = eave + w * 0.52;

    // Chimney behind the roof.
    cairo_rectangle(cr, cx + w * 0.2, top + w * 0.08, w * 0.16, w * 0.34);
    SetColor(cr, {0x9C4A34});
    cairo_fill(cr);

    // Walls.
    cairo_rectangle(cr, wallLeft, eave - 1, w, ground - eave + 1);
    FillWith(cr, Gradient(0, eave, 0, ground, {{0xFFFDF6}, {0xF3E5C8}}), true);
    SetColor(cr, {0xA88558});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    // Door and window.
    const double door = w * 0.26;
    cairo_rectangle(cr, cx + w * 0.06, ground - w * 0.42, door, w * 0.42);
    FillWith(cr, Gradient(0, ground - w * 0.42, 0, ground, {{0xC98A4B}, {0x9A6131}}));
    cairo_rectangle(cr, wallLeft + w * 0.12, eave + w * 0.12, w * 0.28, w * 0.22);
    FillWith(cr, Gradient(0, eave + w * 0.12, 0, eave + w * 0.34, {{0xBFE6FF}, {0x5FAEE8}}), true);
    SetColor(cr, {0x4A7FA8});
    cairo_stroke(cr);

    // Roof, with its eaves standing out past the walls.
    cairo_move_to(cr, wallLeft - 3, eave + 1);
    cairo_line_to(cr, cx, top);
    cairo_line_to(cr, wallRight + 3, eave + 1);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    FillWith(cr, Gradient(0, top, 0, eave, {{0xFF8E5E}, {0xE4572E}, {0xC8401F}}), true);
    SetColor(cr, {0x9E3216});
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    // A highlight along the left slope.
    cairo_move_to(cr, wallLeft, eave - 1.5);
    cairo_line_to(cr, cx, top + 2.5);
    SetColor(cr, {0xFFFFFF, 0.45});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

// A gold coin seen at a slant, as one of a stack: an ellipse with a rim.
void StackedCoin(cairo_t* cr, double cx, double cy, double rx, double ry, double rim) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, kPi);
    cairo_restore(cr);
    cairo_line_to(cr, cx - rx, cy - rim);
    cairo_save(cr);
    cairo_translate(cr, cx, cy - rim);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, kPi, 2 * kPi);
    cairo_restore(cr);
    cairo_close_path(cr);
    FillWith(cr, Gradient(cx - rx, 0, cx + rx, 0, {{0xE09A1A}, {0xFFD65A}, {0xC77E0E}}), true);
    SetColor(cr, {0x9A5F08});
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
    // The coin's face.
    cairo_save(cr);
    cairo_translate(cr, cx, cy - rim);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
    FillWith(cr, Gradient(0, cy - rim - ry, 0, cy - rim + ry, {{0xFFF1A8}, {0xFFC93C}}), true);
    SetColor(cr, {0xA86A0C});
    cairo_stroke(cr);
}

// The yuan sign in a box of size s centred at (cx, cy).
void YuanSign(cairo_t* cr, double cx, double cy, double s, double width) {
    cairo_set_line_width(cr, width);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_move_to(cr, cx - s * 0.32, cy - s * 0.45);
    cairo_line_to(cr, cx, cy - s * 0.02);
    cairo_line_to(cr, cx + s * 0.32, cy - s * 0.45);
    cairo_move_to(cr, cx, cy - s * 0.02);
    cairo_line_to(cr, cx, cy + s * 0.48);
    cairo_move_to(cr, cx - s * 0.26, cy + s * 0.08);
    cairo_line_to(cr, cx + s * 0.26, cy + s * 0.08);
    cairo_move_to(cr, cx - s * 0.26, cy + s * 0.28);
    cairo_line_to(cr, cx + s * 0.26, cy + s * 0.28);
    cairo_stroke(cr);
}

void Wheel(cairo_t* cr, double cx, double cy, double r) {
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    FillWith(cr, Gradient(0, cy - r, 0, cy + r, {{0x4A4F55}, {0x1E2226}}));
    cairo_arc(cr, cx, cy, r * 0.5, 0, 2 * kPi);
    FillWith(cr, Gradient(0, cy - r * 0.5, 0, cy + r * 0.5, {{0xF4F7FA}, {0xA7B1BB}}));
}

}  // namespace

void DrawHouseIcon(ArtCanvas& canvas) {
    cairo_t* cr = canvas.Cr();
    GroundShadow(cr, 16, 29.5, 14, 2.6, 0.35);
    House(cr, 16, 3, 20);
}

void DrawCarIcon(ArtCanvas& canvas) {
    cairo_t* cr = canvas.Cr();
    GroundShadow(cr, 16, 27.5, 15, 2.6, 0.35);
    // Body: a low rounded hull and a cabin with a sloping windscreen.
    cairo_move_to(cr, 2.5, 22);
    cairo_line_to(cr, 2.5, 17.5);
    cairo_curve_to(cr, 2.5, 15.5, 4, 14.5, 6, 14.2);
    cairo_line_to(cr, 9.5, 13.8);
    cairo_line_to(cr, 12.5, 8.5);
    cairo_curve_to(cr, 13, 7.8, 13.6, 7.5, 14.5, 7.5);
    cairo_line_to(cr, 21.5, 7.5);
    cairo_curve_to(cr, 22.4, 7.5, 23, 7.9, 23.6, 8.6);
    cairo_line_to(cr, 27, 13.6);
    cairo_curve_to(cr, 28.6, 14, 29.5, 15, 29.5, 16.8);
    cairo_line_to(cr, 29.5, 22);
    cairo_curve_to(cr, 29.5, 23.2, 28.8, 24, 27.5, 24);
    cairo_line_to(cr, 4.5, 24);
    cairo_curve_to(cr, 3.2, 24, 2.5, 23.2, 2.5, 22);
    cairo_close_path(cr);
    FillWith(cr, Gradient(0, 7.5, 0, 24, {{0x7CC0F5}, {0x2D84D6}, {0x1B5FA8}}), true);
    SetColor(cr, {0x164C86});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // Windows: front and back panes.
    cairo_move_to(cr, 11.5, 13.8);
    cairo_line_to(cr, 14, 9.3);
    cairo_line_to(cr, 17.5, 9.3);
    cairo_line_to(cr, 17.5, 13.8);
    cairo_close_path(cr);
    cairo_move_to(cr, 19, 13.8);
    cairo_line_to(cr, 19, 9.3);
    cairo_line_to(cr, 22, 9.3);
    cairo_line_to(cr, 25, 13.8);
    cairo_close_path(cr);
    FillWith(cr, Gradient(0, 9.3, 0, 13.8, {{0xEAF7FF}, {0x9FD3F5}}));
    // A line of light along the shoulder, a headlight and a tail light.
    cairo_move_to(cr, 4, 16.2);
    cairo_line_to(cr, 28, 16.2);
    SetColor(cr, {0xFFFFFF, 0.45});
    cairo_stroke(cr);
    RoundedRect(cr, 26.8, 17.3, 2.4, 1.8, 0.8);
    SetColor(cr, {0xFFE27A});
    cairo_fill(cr);
    RoundedRect(cr, 2.8, 17.3, 1.8, 1.8, 0.6);
    SetColor(cr, {0xFF6A5A});
    cairo_fill(cr);
    Wheel(cr, 9, 24, 4);
    Wheel(cr, 23.5, 24, 4);
}

void DrawCombinedIcon(ArtCanvas& canvas) {
    cairo_t* cr = canvas.Cr();
    GroundShadow(cr, 16, 29.5, 14.5, 2.6, 0.35);
    House(cr, 12, 3, 16);
    // Three coins stacked before the house, to its right.
    constexpr double kCx = 23, kRx = 6.5, kRy = 2.6, kRim = 2.2;
    StackedCoin(cr, kCx, 28, kRx, kRy, kRim);
    StackedCoin(cr, kCx, 25, kRx, kRy, kRim);
    StackedCoin(cr, kCx, 22, kRx, kRy, kRim);
}

void DrawSearchIcon(ArtCanvas& canvas) {
    cairo_t* cr = canvas.Cr();
    GroundShadow(cr, 15, 27.5, 12, 2.2, 0.30);
    // The handle, behind the lens.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 19.5, 19.5);
    cairo_line_to(cr, 26.5, 26.5);
    SetColor(cr, {0x2F4A62});
    cairo_set_line_width(cr, 4.6);
    cairo_stroke(cr);
    cairo_move_to(cr, 21.5, 21.5);
    cairo_line_to(cr, 26, 26);
    SetColor(cr, {0x6F8FAA});
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);

    // The coin seen through the glass.
    constexpr double kCx = 12.5, kCy = 12.5;
    cairo_arc(cr, kCx, kCy, 7, 0, 2 * kPi);
    FillWith(cr, Gradient(0, kCy - 7, 0, kCy + 7, {{0xFFEC9A}, {0xFFC83A}, {0xE8A01C}}), true);
    SetColor(cr, {0xB07412});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    SetColor(cr, {0xA35F00});
    YuanSign(cr, kCx, kCy + 0.3, 8, 1.5);

    // The lens: a tinted glass and a steel rim with a gleam.
    cairo_arc(cr, kCx, kCy, 10, 0, 2 * kPi);
    FillWith(cr, Gradient(0, kCy - 10, 0, kCy + 10, {{0xFFFFFF, 0.30}, {0xBFE6FF, 0.12}}));
    cairo_arc(cr, kCx, kCy, 10, 0, 2 * kPi);
    cairo_set_line_width(cr, 2.4);
    {
        cairo_pattern_t* rim = Gradient(kCx - 10, kCy - 10, kCx + 10, kCy + 10, {{0x6E92B4}, {0x2F4A62}});
        cairo_set_source(cr, rim);
        cairo_stroke(cr);
        cairo_pattern_destroy(rim);
    }
    cairo_arc(cr, kCx, kCy, 7.8, kPi * 1.05, kPi * 1.45);
    SetColor(cr, {0xFFFFFF, 0.85});
    cairo_set_line_width(cr, 1.3);
    cairo_stroke(cr);
}

void GrainBadge(cairo_t* cr, double x, double y, double size) {
    // Drawn in the 30 x 30 box of the tab picture and scaled from there, so
    // every copy of the badge is the same drawing.
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, size / 30, size / 30);
    constexpr double kC = 15, kR = 13;
    cairo_arc(cr, kC, kC + 0.8, kR, 0, 2 * kPi);
    SetColor(cr, {0x0E4A3A, 0.25});
    cairo_fill(cr);
    cairo_arc(cr, kC, kC, kR, 0, 2 * kPi);
    FillWith(cr, Gradient(0, kC - kR, 0, kC + kR, {{0x6FD6AE}, {0x2EA57E}, {0x1C7C5E}}), true);
    SetColor(cr, {0x176B50});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_arc(cr, kC, kC, kR - 1.5, 0, 2 * kPi);
    SetColor(cr, {0xFFFFFF, 0.55});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    SetColor(cr, {0xFFFFFF});
    GrainMark(cr, kC - 8, kC - 8.3, 16, 2.1);
    // A gloss over the upper half.
    cairo_save(cr);
    cairo_arc(cr, kC, kC, kR - 1, 0, 2 * kPi);
    cairo_clip(cr);
    cairo_save(cr);
    cairo_translate(cr, kC, kC - 6);
    cairo_scale(cr, 11, 7);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
    FillWith(cr, Gradient(0, kC - 13, 0, kC + 1, {{0xFFFFFF, 0.38}, {0xFFFFFF, 0.04}}));
    cairo_restore(cr);
    cairo_restore(cr);
}

void DrawAboutIcon(ArtCanvas& canvas) { GrainBadge(canvas.Cr(), 0, 0, 30); }

void DrawHelpIcon(ArtCanvas& canvas) {
    cairo_t* cr = canvas.Cr();
    constexpr double kCx = 11, kCy = 9, kR = 7.6;
    cairo_arc(cr, kCx, kCy + 0.6, kR, 0, 2 * kPi);
    SetColor(cr, {0x0B3C6E, 0.22});
    cairo_fill(cr);
    cairo_arc(cr, kCx, kCy, kR, 0, 2 * kPi);
    FillWith(cr, Gradient(0, kCy - kR, 0, kCy + kR, {{0x6DB7F2}, {0x2A7FD4}, {0x1B62B0}}), true);
    SetColor(cr, {0x17559A});
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
    // The question mark: a hook and a dot.
    SetColor(cr, {0xFFFFFF});
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 1.8);
    cairo_arc(cr, kCx, kCy - 2.0, 2.5, kPi * 1.05, kPi * 2.25);
    cairo_curve_to(cr, kCx + 1.2, kCy - 0.2, kCx, kCy + 0.3, kCx, kCy + 1.6);
    cairo_stroke(cr);
    cairo_arc(cr, kCx, kCy + 4.2, 1.1, 0, 2 * kPi);
    cairo_fill(cr);
    // A gloss on the upper half.
    cairo_save(cr);
    cairo_translate(cr, kCx, kCy - 3.6);
    cairo_scale(cr, 5.5, 3.2);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
    FillWith(cr, Gradient(0, kCy - 7, 0, kCy - 0.5, {{0xFFFFFF, 0.45}, {0xFFFFFF, 0.0}}));
}

}  // namespace qh::art
