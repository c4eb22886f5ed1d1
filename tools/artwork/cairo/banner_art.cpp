#include "tools/artwork/cairo/banner_art.h"

#include <tuple>

#include "tools/artwork/cairo/icon_art.h"
#include "tools/artwork/cairo/skin_art.h"

namespace qh::art {
namespace {

// A line of text centred on x, in white over a soft teal shadow.
void CentredText(cairo_t* cr, const char8_t* text, double size, double x, double baseline, Paint color) {
    const double left = x - TextWidth(cr, text, size) / 2;
    cairo_move_to(cr, left + 0.6, baseline + 0.9);
    TextPath(cr, text, size);
    SetColor(cr, {0x165E4C, 0.40});
    cairo_fill(cr);
    cairo_move_to(cr, left, baseline);
    TextPath(cr, text, size);
    SetColor(cr, color);
    cairo_fill(cr);
}

// The card both banners share: the teal ground with grain and sheen, the
// mark on its disc, the product's name and a rule under it.
void DrawBannerCard(cairo_t* cr, double w, double h) {
    // The card: the skin's teal, darker towards the foot, with rounded corners.
    RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, 7);
    FillWith(cr, Gradient(0, 0, 0, h, {{0x86D5BF}, {0x5BBFA4}, {0x3FA98D}, {0x2E8F76}}), true);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    // Ears of grain rising from the foot, and a ribbon of light across them.
    GrainEar(cr, 14, 150, 100, 18, 0.20);
    GrainEar(cr, 44, 170, 84, 14, 0.14);
    GrainEar(cr, 78, 140, 110, 20, 0.24);
    cairo_move_to(cr, 0, 200);
    cairo_curve_to(cr, 40, 170, 80, 230, w, 180);
    cairo_line_to(cr, w, 200);
    cairo_curve_to(cr, 80, 250, 40, 190, 0, 222);
    cairo_close_path(cr);
    SetColor(cr, {0xFFFFFF, 0.10});
    cairo_fill(cr);
    // A glassy sheen over the upper part.
    cairo_rectangle(cr, 0, 0, w, h * 0.42);
    FillWith(cr, Gradient(0, 0, 0, h * 0.42, {{0xFFFFFF, 0.32}, {0xFFFFFF, 0.08}, {0xFFFFFF, 0.0}}));
    cairo_restore(cr);
    SetColor(cr, {0x2A7F69, 0.9});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    RoundedRect(cr, 1.5, 1.5, w - 3, h - 3, 6);
    SetColor(cr, {0xFFFFFF, 0.40});
    cairo_stroke(cr);

    // The mark on a white disc.
    constexpr double kBadge = 46;
    const double badgeX = (w - kBadge) / 2, badgeY = 18;
    cairo_arc(cr, w / 2, badgeY + kBadge / 2 + 0.8, kBadge * 0.5, 0, 2 * kPi);
    SetColor(cr, {0x1C6B55, 0.30});
    cairo_fill(cr);
    cairo_arc(cr, w / 2, badgeY + kBadge / 2, kBadge * 0.49, 0, 2 * kPi);
    FillWith(cr, Gradient(0, badgeY, 0, badgeY + kBadge, {{0xFFFFFF}, {0xE4F5EE}}));
    GrainBadge(cr, badgeX, badgeY, kBadge);

    // The name.
    CentredText(cr, u8"青禾计算器", 17, w / 2, 92, {0xFFFFFF});
    cairo_rectangle(cr, 18, 101, w - 36, 1);
    FillWith(cr, Gradient(18, 0, w - 18, 0, {{0xFFFFFF, 0}, {0xFFFFFF, 0.7}, {0xFFFFFF, 0}}));
}

}  // namespace

void DrawUpdaterBanner(ArtCanvas& canvas) {
    cairo_t* cr = canvas.Cr();
    const double w = canvas.Width(), h = canvas.Height();
    DrawBannerCard(cr, w, h);
    CentredText(cr, u8"新版本已就绪", 12.5, w / 2, 122, {0xFFFFFF});
    CentredText(cr, u8"利率随时更新", 11, w / 2, 142, {0xF2FFFA, 0.92});
    CentredText(cr, u8"算得更快更准", 11, w / 2, 160, {0xF2FFFA, 0.92});

    // A call to visit the site, on a white pill near the foot.
    const char8_t* action = u8"访问官网";
    const double size = 11.5;
    const double pillWidth = TextWidth(cr, action, size) + 22, pillLeft = (w - pillWidth) / 2;
    RoundedRect(cr, pillLeft, 222, pillWidth, 20, 10);
    SetColor(cr, {0x1C6B55, 0.25});
    cairo_fill(cr);
    RoundedRect(cr, pillLeft, 221, pillWidth, 20, 10);
    FillWith(cr, Gradient(0, 221, 0, 241, {{0xFFFFFF}, {0xE8F7F1}}));
    cairo_move_to(cr, pillLeft + 11, 235.5);
    TextPath(cr, action, size);
    SetColor(cr, {0x23866B});
    cairo_fill(cr);
}

void DrawBuiltInBanner(ArtCanvas& canvas) {
    cairo_t* cr = canvas.Cr();
    const double w = canvas.Width(), h = canvas.Height();
    DrawBannerCard(cr, w, h);
    CentredText(cr, u8"正在为您升级", 12.5, w / 2, 122, {0xFFFFFF});
    CentredText(cr, u8"房贷车贷", 11, w / 2, 142, {0xF2FFFA, 0.92});
    CentredText(cr, u8"算得更快更准", 11, w / 2, 160, {0xF2FFFA, 0.92});

    // A shield with a tick near the foot, where the server's banner has its
    // call to click: this one opens nothing.
    constexpr double kShieldTop = 206, kShieldWidth = 26, kShieldHeight = 32;
    const double left = (w - kShieldWidth) / 2;
    cairo_move_to(cr, w / 2, kShieldTop);
    cairo_line_to(cr, left + kShieldWidth, kShieldTop + 6);
    cairo_curve_to(cr, left + kShieldWidth, kShieldTop + 20, w / 2 + 6, kShieldTop + 28, w / 2,
                   kShieldTop + kShieldHeight);
    cairo_curve_to(cr, w / 2 - 6, kShieldTop + 28, left, kShieldTop + 20, left, kShieldTop + 6);
    cairo_close_path(cr);
    FillWith(cr, Gradient(0, kShieldTop, 0, kShieldTop + kShieldHeight, {{0xFFFFFF}, {0xE8F7F1}}));
    cairo_move_to(cr, w / 2 - 6, kShieldTop + 15);
    cairo_line_to(cr, w / 2 - 1.5, kShieldTop + 20);
    cairo_line_to(cr, w / 2 + 7, kShieldTop + 10);
    cairo_set_line_width(cr, 2.6);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    SetColor(cr, {0x23866B});
    cairo_stroke(cr);
}

}  // namespace qh::art
