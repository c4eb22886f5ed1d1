#include "tools/artwork/cairo/art_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace qh::art {

ArtCanvas::ArtCanvas(int width, int height, bool opaque, int scale)
    : width_(width),
      height_(height),
      surface_(cairo_image_surface_create(opaque ? CAIRO_FORMAT_RGB24 : CAIRO_FORMAT_ARGB32, width * scale,
                                          height * scale)),
      cr_(cairo_create(surface_)) {
    cairo_scale(cr_, scale, scale);
    // Smooth edges everywhere; the pieces are small and hand-placed, so
    // nothing relies on pixel-snapped lines except where a helper says so.
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GOOD);
}

ArtCanvas::~ArtCanvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

bool ArtCanvas::WritePng(const std::string& path) {
    cairo_surface_flush(surface_);
    return cairo_surface_write_to_png(surface_, path.c_str()) == CAIRO_STATUS_SUCCESS;
}

bool ArtCanvas::WriteJpeg(const std::string& path, int quality) {
    cairo_surface_flush(surface_);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;

    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    // The surface's pixels, which a canvas at scale 2 has twice of each way.
    const int width = cairo_image_surface_get_width(surface_);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(cairo_image_surface_get_height(surface_));
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    // Full-resolution colour: the skin's soft teal gradients band visibly
    // when chroma is halved.
    for (int c = 0; c < info.num_components; ++c) {
        info.comp_info[c].h_samp_factor = 1;
        info.comp_info[c].v_samp_factor = 1;
    }
    info.optimize_coding = TRUE;
    jpeg_start_compress(&info, TRUE);

    // cairo keeps RGB24 pixels as native-endian 32-bit words 0x00RRGGBB.
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 3);
    while (info.next_scanline < info.image_height) {
        const auto* pixels = reinterpret_cast<const std::uint32_t*>(data + info.next_scanline * stride);
        for (int x = 0; x < width; ++x) {
            row[x * 3 + 0] = static_cast<JSAMPLE>((pixels[x] >> 16) & 0xFF);
            row[x * 3 + 1] = static_cast<JSAMPLE>((pixels[x] >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<JSAMPLE>(pixels[x] & 0xFF);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

void SetColor(cairo_t* cr, Paint p) {
    cairo_set_source_rgba(cr, ((p.rgb >> 16) & 0xFF) / 255.0, ((p.rgb >> 8) & 0xFF) / 255.0, (p.rgb & 0xFF) / 255.0,
                          p.alpha);
}

cairo_pattern_t* Gradient(double x0, double y0, double x1, double y1, std::initializer_list<Paint> stops) {
    cairo_pattern_t* pattern = cairo_pattern_create_linear(x0, y0, x1, y1);
    const double last = stops.size() > 1 ? static_cast<double>(stops.size() - 1) : 1.0;
    int i = 0;
    for (const Paint& p : stops) {
        cairo_pattern_add_color_stop_rgba(pattern, i++ / last, ((p.rgb >> 16) & 0xFF) / 255.0,
                                          ((p.rgb >> 8) & 0xFF) / 255.0, (p.rgb & 0xFF) / 255.0, p.alpha);
    }
    return pattern;
}

void FillWith(cairo_t* cr, cairo_pattern_t* pattern, bool preserve) {
    cairo_set_source(cr, pattern);
    if (preserve) {
        cairo_fill_preserve(cr);
    } else {
        cairo_fill(cr);
    }
    cairo_pattern_destroy(pattern);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
    const double r = std::min({radius, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void GroundShadow(cairo_t* cr, double cx, double cy, double rx, double ry, double alpha) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_pattern_t* shadow = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    cairo_pattern_add_color_stop_rgba(shadow, 0, 0.05, 0.2, 0.15, alpha);
    cairo_pattern_add_color_stop_rgba(shadow, 1, 0.05, 0.2, 0.15, 0);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
    FillWith(cr, shadow);
}

void GrainMark(cairo_t* cr, double x, double y, double size, double strokeWidth) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, size, size);
    cairo_set_line_width(cr, strokeWidth / size);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    // The short falling stroke that crowns the character: a grain ear bowing.
    cairo_move_to(cr, 0.70, 0.06);
    cairo_curve_to(cr, 0.58, 0.14, 0.44, 0.19, 0.26, 0.22);
    // The cross bar.
    cairo_move_to(cr, 0.12, 0.40);
    cairo_line_to(cr, 0.88, 0.40);
    // The stalk.
    cairo_move_to(cr, 0.50, 0.16);
    cairo_line_to(cr, 0.50, 0.96);
    // The falling strokes to either side: the leaves.
    cairo_move_to(cr, 0.47, 0.47);
    cairo_curve_to(cr, 0.38, 0.62, 0.26, 0.73, 0.10, 0.82);
    cairo_move_to(cr, 0.54, 0.50);
    cairo_curve_to(cr, 0.64, 0.60, 0.76, 0.69, 0.90, 0.76);
    cairo_restore(cr);
    cairo_stroke(cr);
}

double Noise::Next() {
    // A 32-bit linear congruential generator (Numerical Recipes' constants);
    // its top bits are plenty for a texture.
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<double>(state_ >> 8) / 8388608.0 - 1.0;
}

// Text as filled outlines, unhinted: the outlines come from the font file
// alone, so the pixels do not depend on the machine's hinting settings.
void TextPath(cairo_t* cr, const char8_t* utf8, double size) {
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
    cairo_select_font_face(cr, "WenQuanYi Zen Hei", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_path(cr, reinterpret_cast<const char*>(utf8));
}

double TextWidth(cairo_t* cr, const char8_t* utf8, double size) {
    cairo_select_font_face(cr, "WenQuanYi Zen Hei", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, reinterpret_cast<const char*>(utf8), &extents);
    return extents.x_advance;
}

}  // namespace qh::art
