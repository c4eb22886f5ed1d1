// The cairo graphics backend (Linux).
// Implements: rectangles, gradients, lines, dashed pens, arc paths, clipping
// by rectangle and path, images with opacity (PNG, JPEG and GIF decoding with
// every frame of an animation, .ico images), text through fontconfig faces
// with wrapping, alignment, ellipsis trimming, hotkey prefixes and the
// no-wrap / no-clip flags.
// Not yet: underline and strikeout styles, word trimming (taken as character).
#pragma once

#include <cairo.h>

#include <map>
#include <memory>

#include "toolkit/graphics.h"

namespace qh::cairo {

class CairoDriver;

class CairoGraphics : public Graphics {
public:
    CairoGraphics(CairoDriver& driver, Bitmap& target, float scale);
    ~CairoGraphics() override;
    int Width() const override { return width_; }
    int Height() const override { return height_; }
    float Scale() const override { return scale_; }
    void Clear(Argb color) override;
    void FillRectangle(const RectF& r, Argb color) override;
    void FillGradient(const RectF& area, const RectF& brushRect, Argb from, Argb to, bool vertical) override;
    void DrawRectangle(const RectF& r, const Pen& pen) override;
    void DrawLine(const Pen& pen, PointF from, PointF to) override;
    void FillPath(const Path& path, Argb color) override;
    void DrawPath(const Path& path, const Pen& pen) override;
    void SetClip(const RectF& r) override;
    void SetClip(const Path& path) override;
    void ResetClip() override;
    RectF MeasureString(const Text& text, const UiFont& font, const RectF& layout, const TextFormat& format) override;
    void DrawString(const Text& text, const UiFont& font, Argb color, const RectF& layout,
                    const TextFormat& format) override;
    void DrawGlowString(const Text& text, const UiFont& font, Argb color, const RectF& r, int glowSize) override;
    void DrawImage(const Bitmap& image, const RectF& dest, const RectF& src, int opacity) override;

private:
    void SetColor(Argb color);
    void SetPen(const Pen& pen);
    void AddPath(const Path& path);
    void Flush();
    // A logical coordinate moved to the nearest device pixel edge.
    double Snap(double logical) const;
    // A stroke's device-aligned centre and width for a line at logical x.
    double StrokeCentre(double logical, const Pen& pen) const;
    double StrokeWidth(const Pen& pen) const;

    CairoDriver& driver_;
    float scale_;
    int width_;
    int height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

class CairoDriver : public GraphicsDriver {
public:
    CairoDriver();
    ~CairoDriver() override;
    std::unique_ptr<Graphics> Open(Bitmap& target, float scale) override;
    bool DecodeImage(const Bytes& bytes, Bitmap& out) override;
    bool DecodeFrames(const Bytes& bytes, DecodedImage& out) override;
    bool DecodeIconImage(const Bytes& entry, Bitmap& out) override;
    bool FontFamilyExists(const Text& face) override;
    // The cairo face fontconfig matches for a GBK face name and style (kept
    // for the life of the driver).
    cairo_font_face_t* FontFace(const Text& face, int style);

private:
    std::map<std::pair<Text, int>, cairo_font_face_t*> faces_;
};

}  // namespace qh::cairo
