#include "toolkit/cairo/cairo_graphics.h"

#include "toolkit/draw.h"

#include <algorithm>
#include <cmath>

namespace qh::cairo {

namespace {
constexpr double kPi = 3.14159265358979323846;
double Channel(Argb c, int shift) { return ((c >> shift) & 0xFF) / 255.0; }
}  // namespace

CairoGraphics::CairoGraphics(CairoDriver& driver, Bitmap& target, float scale)
    : driver_(driver), scale_(scale), width_(static_cast<int>(std::lround(target.Width() / scale))),
      height_(static_cast<int>(std::lround(target.Height() / scale))) {
    surface_ = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(target.Data()),
                                                   CAIRO_FORMAT_ARGB32, target.Width(), target.Height(),
                                                   target.Stride());
    cr_ = cairo_create(surface_);
    cairo_scale(cr_, scale, scale);
}

double CairoGraphics::Snap(double logical) const { return std::round(logical * scale_) / scale_; }

// At scale 1 a stroke's centre is the pixel's centre (x + 0.5), as GDI+
// draws. At other scales the stroke covers whole device pixels: as many as
// its width asks, starting at the device pixel where the logical pixel starts.
double CairoGraphics::StrokeWidth(const Pen& pen) const {
    if (scale_ == 1.0f) return pen.width;
    return std::max(1.0, std::round(double(pen.width) * scale_)) / scale_;
}

double CairoGraphics::StrokeCentre(double logical, const Pen& pen) const {
    if (scale_ == 1.0f) return logical + 0.5;
    return Snap(logical) + StrokeWidth(pen) / 2;
}

CairoGraphics::~CairoGraphics() {
    cairo_destroy(cr_);
    cairo_surface_finish(surface_);
    cairo_surface_destroy(surface_);
}

// Each operation completes its pixels at once: the bitmap is read directly by
// the window code between drawing calls.
void CairoGraphics::Flush() { cairo_surface_flush(surface_); }

void CairoGraphics::SetColor(Argb c) {
    cairo_set_source_rgba(cr_, Channel(c, 16), Channel(c, 8), Channel(c, 0), Channel(c, 24));
}

void CairoGraphics::SetPen(const Pen& pen) {
    SetColor(pen.color);
    cairo_set_line_width(cr_, StrokeWidth(pen));
    if (pen.dashed) {
        // A dash three pen widths long with a gap of one, as a GDI+ dash.
        const double dash[2] = {3.0 * pen.width, 1.0 * pen.width};
        cairo_set_dash(cr_, dash, 2, 0);
    } else {
        cairo_set_dash(cr_, nullptr, 0, 0);
    }
}

void CairoGraphics::Clear(Argb color) {
    cairo_save(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
    SetColor(color);
    cairo_paint(cr_);
    cairo_restore(cr_);
    Flush();
}

void CairoGraphics::FillRectangle(const RectF& r, Argb color) {
    if (r.width <= 0 || r.height <= 0) return;
    SetColor(color);
    cairo_rectangle(cr_, r.left, r.top, r.width, r.height);
    cairo_fill(cr_);
    Flush();
}

void CairoGraphics::FillGradient(const RectF& area, const RectF& b, Argb from, Argb to, bool vertical) {
    if (area.width <= 0 || area.height <= 0) return;
    cairo_pattern_t* p = vertical ? cairo_pattern_create_linear(0, b.top, 0, b.Bottom())
                                  : cairo_pattern_create_linear(b.left, 0, b.Right(), 0);
    cairo_pattern_add_color_stop_rgba(p, 0, Channel(from, 16), Channel(from, 8), Channel(from, 0), Channel(from, 24));
    cairo_pattern_add_color_stop_rgba(p, 1, Channel(to, 16), Channel(to, 8), Channel(to, 0), Channel(to, 24));
    cairo_pattern_set_extend(p, CAIRO_EXTEND_REFLECT);
    cairo_set_source(cr_, p);
    cairo_rectangle(cr_, area.left, area.top, area.width, area.height);
    cairo_fill(cr_);
    cairo_pattern_destroy(p);
    Flush();
}

// Strokes use pixel centres as coordinates (a one-pixel line at y = 3 covers
// row 3), as GDI+ draws; fills use pixel edges.
void CairoGraphics::DrawRectangle(const RectF& r, const Pen& pen) {
    SetPen(pen);
    const double left = StrokeCentre(r.left, pen), top = StrokeCentre(r.top, pen);
    cairo_rectangle(cr_, left, top, StrokeCentre(r.Right(), pen) - left, StrokeCentre(r.Bottom(), pen) - top);
    cairo_stroke(cr_);
    Flush();
}

void CairoGraphics::DrawLine(const Pen& pen, PointF a, PointF b) {
    SetPen(pen);
    cairo_move_to(cr_, StrokeCentre(a.x, pen), StrokeCentre(a.y, pen));
    cairo_line_to(cr_, StrokeCentre(b.x, pen), StrokeCentre(b.y, pen));
    cairo_stroke(cr_);
    Flush();
}

void CairoGraphics::AddPath(const Path& path) {
    cairo_new_path(cr_);
    for (const Path::Segment& s : path.Segments()) {
        if (s.kind == Path::Segment::kLine) {
            cairo_line_to(cr_, s.x, s.y);
            cairo_line_to(cr_, s.w, s.h);
            continue;
        }
        if (s.w <= 0 || s.h <= 0) continue;
        cairo_save(cr_);
        cairo_translate(cr_, s.x + s.w / 2, s.y + s.h / 2);
        cairo_scale(cr_, s.w / 2, s.h / 2);
        const double a1 = s.start * kPi / 180, a2 = (s.start + s.sweep) * kPi / 180;
        if (s.sweep >= 0) cairo_arc(cr_, 0, 0, 1, a1, a2);
        else cairo_arc_negative(cr_, 0, 0, 1, a1, a2);
        cairo_restore(cr_);
    }
    if (path.Closed()) cairo_close_path(cr_);
}

void CairoGraphics::FillPath(const Path& path, Argb color) {
    SetColor(color);
    cairo_set_fill_rule(cr_, CAIRO_FILL_RULE_EVEN_ODD);
    AddPath(path);
    cairo_fill(cr_);
    Flush();
}

void CairoGraphics::DrawPath(const Path& path, const Pen& pen) {
    SetPen(pen);
    cairo_save(cr_);
    const double centre = scale_ == 1.0f ? 0.5 : StrokeWidth(pen) / 2;
    cairo_translate(cr_, centre, centre);
    AddPath(path);
    cairo_restore(cr_);
    cairo_stroke(cr_);
    Flush();
}

void CairoGraphics::SetClip(const RectF& r) {
    cairo_reset_clip(cr_);
    cairo_rectangle(cr_, r.left, r.top, std::max(0.0f, r.width), std::max(0.0f, r.height));
    cairo_clip(cr_);
}

void CairoGraphics::SetClip(const Path& path) {
    cairo_reset_clip(cr_);
    AddPath(path);
    cairo_clip(cr_);
}

void CairoGraphics::ResetClip() { cairo_reset_clip(cr_); }

void CairoGraphics::DrawImage(const Bitmap& image, const RectF& dest, const RectF& src, int opacity) {
    if (image.Empty() || dest.width <= 0 || dest.height <= 0 || src.width <= 0 || src.height <= 0) return;
    cairo_surface_t* whole = cairo_image_surface_create_for_data(
        reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(image.Data())), CAIRO_FORMAT_ARGB32,
        image.Width(), image.Height(), image.Stride());
    // A sub-surface keeps the edge pixels of one nine-grid cell from
    // bleeding into its neighbour when stretched.
    cairo_surface_t* part = cairo_surface_create_for_rectangle(whole, src.left, src.top, src.width, src.height);
    cairo_save(cr_);
    cairo_rectangle(cr_, dest.left, dest.top, dest.width, dest.height);
    cairo_clip(cr_);
    cairo_translate(cr_, dest.left, dest.top);
    const double sx = dest.width / src.width, sy = dest.height / src.height;
    cairo_scale(cr_, sx, sy);
    cairo_set_source_surface(cr_, part, 0, 0);
    cairo_pattern_t* p = cairo_get_source(cr_);
    cairo_pattern_set_extend(p, CAIRO_EXTEND_PAD);
    // Pixel for pixel when the image lands 1:1 on the device, else smoothed.
    const bool oneToOne = sx * scale_ == 1.0 && sy * scale_ == 1.0;
    cairo_pattern_set_filter(p, oneToOne ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_paint_with_alpha(cr_, std::clamp(opacity, 0, 255) / 255.0);
    cairo_restore(cr_);
    cairo_surface_destroy(part);
    cairo_surface_destroy(whole);
    Flush();
}

// cairo has no glow of its own: the caption glow is composed from copies.
void CairoGraphics::DrawGlowString(const Text& text, const UiFont& font, Argb color, const RectF& r, int glowSize) {
    DrawGlowTextByOffsets(*this, text, font, color, r, glowSize);
}

}  // namespace qh::cairo
