#include "tools/artwork/cairo/trim_art.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "tools/artwork/cairo/icon_art.h"
#include "tools/artwork/cairo/skin_art.h"

namespace qh::art {

void DrawSeparator(ArtCanvas& canvas) {
    cairo_t* cr = canvas.Cr();
    const double w = canvas.Width();
    cairo_rectangle(cr, 0, 0, w, 1);
    FillWith(cr, Gradient(0, 0, w, 0,
                          {{0x4E9E88, 0}, {0x4E9E88, 0.55}, {0x4E9E88, 0.85}, {0x4E9E88, 0.85}, {0x4E9E88, 0.55},
                           {0x4E9E88, 0}}));
}

void DrawResultsStrip(ArtCanvas& canvas) {
    cairo_t* cr = canvas.Cr();
    const double w = canvas.Width(), h = canvas.Height();
    // A rounded bar, lit from the left like a cylinder.
    RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, 3.5);
    FillWith(cr, Gradient(0, 0, w, 0, {{0xA9DFCB}, {0x6CC4A6}, {0x3FA585}}), true);
    SetColor(cr, {0x2F8A6C, 0.85});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_move_to(cr, 2, 4);
    cairo_line_to(cr, 2, h - 4);
    SetColor(cr, {0xFFFFFF, 0.45});
    cairo_stroke(cr);

    // A pale pocket in the middle, where the toolkit draws the arrow in its
    // accent colour, and a grip of three notches above and below it.
    const double mid = std::floor(h / 2);
    RoundedRect(cr, 1, mid - 8, w - 2, 17, 3);
    SetColor(cr, {0xFFFFFF, 0.92});
    cairo_fill(cr);
    for (int side : {-1, 1}) {
        for (int i = 0; i < 3; ++i) {
            const double y = mid + 0.5 + side * (14 + 4 * i);
            cairo_move_to(cr, 2, y);
            cairo_line_to(cr, w - 2, y);
            SetColor(cr, {0xFFFFFF, 0.75});
            cairo_stroke(cr);
            cairo_move_to(cr, 2, y + 1);
            cairo_line_to(cr, w - 2, y + 1);
            SetColor(cr, {0x1F6F56, 0.35});
            cairo_stroke(cr);
        }
    }
}

void DrawBanner(ArtCanvas& canvas) {
    cairo_t* cr = canvas.Cr();
    const double w = canvas.Width(), h = canvas.Height();
    // A warm tile that stands out against the teal band.
    RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, 6);
    FillWith(cr, Gradient(0, 0, w * 0.4, h, {{0xFFB347}, {0xFB8A2E}, {0xEF5E1E}}), true);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    // Two soft suns of light in the corners.
    for (auto [x, y, r, a] : {std::tuple{88.0, 6.0, 30.0, 0.30}, std::tuple{8.0, 62.0, 22.0, 0.16}}) {
        cairo_pattern_t* glow = cairo_pattern_create_radial(x, y, 0, x, y, r);
        cairo_pattern_add_color_stop_rgba(glow, 0, 1, 1, 0.85, a);
        cairo_pattern_add_color_stop_rgba(glow, 1, 1, 1, 0.85, 0);
        cairo_set_source(cr, glow);
        cairo_paint(cr);
        cairo_pattern_destroy(glow);
    }
    // A gloss over the upper half.
    cairo_rectangle(cr, 0, 0, w, h * 0.45);
    FillWith(cr, Gradient(0, 0, 0, h * 0.45, {{0xFFFFFF, 0.30}, {0xFFFFFF, 0.06}}));
    cairo_restore(cr);
    SetColor(cr, {0xC2470F, 0.9});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    RoundedRect(cr, 1.5, 1.5, w - 3, h - 3, 5);
    SetColor(cr, {0xFFFFFF, 0.35});
    cairo_stroke(cr);

    // The grain mark on a white disc.
    cairo_arc(cr, 17, 21, 11, 0, 2 * kPi);
    SetColor(cr, {0xFFFFFF, 0.95});
    cairo_fill(cr);
    SetColor(cr, {0xE8641F});
    GrainMark(cr, 10.5, 14.2, 13, 1.9);

    // The name, with a soft shadow, then a call to action on a pill.
    const char8_t* name = u8"青禾贷款";
    cairo_move_to(cr, 31.5, 28.5);
    TextPath(cr, name, 16);
    SetColor(cr, {0x9A3A08, 0.45});
    cairo_fill(cr);
    cairo_move_to(cr, 31, 27.5);
    TextPath(cr, name, 16);
    SetColor(cr, {0xFFFFFF});
    cairo_fill(cr);

    const char8_t* action = u8"低息 快速 放心";
    const double size = 10.5;
    const double textWidth = TextWidth(cr, action, size);
    const double pillWidth = textWidth + 14, pillLeft = (w - pillWidth) / 2;
    RoundedRect(cr, pillLeft, 38, pillWidth, 15, 7.5);
    SetColor(cr, {0xFFFFFF, 0.95});
    cairo_fill(cr);
    cairo_move_to(cr, pillLeft + 7, 49.5);
    TextPath(cr, action, size);
    SetColor(cr, {0xD9520F});
    cairo_fill(cr);
}

void DrawAboutLogo(ArtCanvas& canvas) {
    cairo_t* cr = canvas.Cr();
    const double w = canvas.Width(), h = canvas.Height();

    // The band: the skin's tab-band teal, lit from the upper left.
    cairo_rectangle(cr, 0, 0, w, h);
    FillWith(cr, Gradient(0, 0, 0, h, {{0x7BCFB8}, {0x5ABFA4}, {0x49B296}, {0x3FA98D}}));
    cairo_rectangle(cr, 0, 0, w, h);
    FillWith(cr, Gradient(0, 0, w, 0, {{0xFFFFFF, 0.18}, {0xFFFFFF, 0.05}, {0x1E6F66, 0.10}}));

    // A ribbon of light sweeping across under the text, as on the skin.
    cairo_move_to(cr, 0, 58);
    cairo_curve_to(cr, w * 0.35, 30, w * 0.65, 70, w, 20);
    cairo_line_to(cr, w, 38);
    cairo_curve_to(cr, w * 0.65, 86, w * 0.35, 46, 0, 72);
    cairo_close_path(cr);
    FillWith(cr, Gradient(0, 0, w, 0, {{0xFFFFFF, 0}, {0xFFFFFF, 0.08}, {0xFFFFFF, 0.13}, {0xFFFFFF, 0}}));

    // Ears of grain at the right end, where the band is otherwise empty.
    GrainEar(cr, 318, 10, 62, 20, 0.22);
    GrainEar(cr, 338, 18, 56, 16, 0.15);
    GrainEar(cr, 300, 22, 52, 14, 0.12);

    // A glassy sheen over the upper half.
    cairo_rectangle(cr, 0, 0, w, h * 0.48);
    FillWith(cr, Gradient(0, 0, 0, h * 0.48, {{0xFFFFFF, 0.30}, {0xFFFFFF, 0.10}, {0xFFFFFF, 0.02}}));

    // The mark, on a soft halo of light.
    constexpr double kBadgeX = 12, kBadgeY = 10, kBadge = 50;
    const double cx = kBadgeX + kBadge / 2, cy = kBadgeY + kBadge / 2;
    cairo_pattern_t* halo = cairo_pattern_create_radial(cx, cy, kBadge * 0.35, cx, cy, kBadge * 0.78);
    cairo_pattern_add_color_stop_rgba(halo, 0, 1, 1, 1, 0.45);
    cairo_pattern_add_color_stop_rgba(halo, 1, 1, 1, 1, 0);
    cairo_arc(cr, cx, cy, kBadge * 0.78, 0, 2 * kPi);
    FillWith(cr, halo);
    // A white rim sets the green badge apart from the teal around it.
    cairo_arc(cr, cx, cy + 0.6, kBadge * 0.485, 0, 2 * kPi);
    SetColor(cr, {0x1C6B55, 0.30});
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, kBadge * 0.48, 0, 2 * kPi);
    FillWith(cr, Gradient(0, cy - kBadge / 2, 0, cy + kBadge / 2, {{0xFFFFFF}, {0xE4F5EE}}));
    GrainBadge(cr, kBadgeX, kBadgeY, kBadge);

    // The name, a little heavier than the face draws it, over a soft shadow.
    const char8_t* name = u8"青禾计算器";
    constexpr double kTextLeft = 76, kNameSize = 25, kNameBase = 35;
    for (auto [dx, dy, paint] : {std::tuple{0.8, 1.4, Paint{0x1C6B55, 0.40}}, std::tuple{0.0, 0.0, Paint{0xFFFFFF}}}) {
        cairo_move_to(cr, kTextLeft + dx, kNameBase + dy);
        TextPath(cr, name, kNameSize);
        SetColor(cr, paint);
        cairo_set_line_width(cr, 0.6);
        cairo_fill_preserve(cr);
        cairo_stroke(cr);
    }

    // A hairline under the name that fades out to the right.
    const double nameWidth = TextWidth(cr, name, kNameSize);
    cairo_rectangle(cr, kTextLeft, 42, nameWidth + 90, 1);
    FillWith(cr, Gradient(kTextLeft, 0, kTextLeft + nameWidth + 90, 0,
                          {{0xFFFFFF, 0.75}, {0xFFFFFF, 0.45}, {0xFFFFFF, 0}}));

    // What the calculator computes.
    const char8_t* subtitle = u8"房贷 · 车贷 · 组合贷款 · 二手房税费";
    constexpr double kSubtitleSize = 13, kSubtitleBase = 60;
    cairo_move_to(cr, kTextLeft + 0.6, kSubtitleBase + 0.8);
    TextPath(cr, subtitle, kSubtitleSize);
    SetColor(cr, {0x1C6B55, 0.35});
    cairo_fill(cr);
    cairo_move_to(cr, kTextLeft, kSubtitleBase);
    TextPath(cr, subtitle, kSubtitleSize);
    SetColor(cr, {0xFFFFFF});
    cairo_fill(cr);

    // A frame: a line of light inside a darker edge, so the band keeps a
    // crisp outline over the translucent window.
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, 1.5, 1.5, w - 3, h - 3);
    SetColor(cr, {0xFFFFFF, 0.40});
    cairo_stroke(cr);
    cairo_rectangle(cr, 0.5, 0.5, w - 1, h - 1);
    SetColor(cr, {0x2F8A6C, 0.85});
    cairo_stroke(cr);
}

}  // namespace qh::art
