// The GDI+ graphics backend (Windows), over the flat API.
// Implements: rectangles, linear gradients, lines, dashed pens, arc paths,
// clipping by rectangle and path, images with opacity (a colour matrix),
// PNG, JPEG and GIF decoding from memory streams with every frame of an
// animation, icons and bitmaps from their handles, text with GDI+ string formats
// (alignment, trimming, hotkey prefixes, no-wrap and no-clip), fonts by face
// name in pixels. The graphics draws straight into the toolkit's premultiplied
// ARGB bitmap. GdipDrawLine, GdipCreatePen1, GdipMeasureString and
// GdipFillPath are bound at run time.
#pragma once

#include <map>
#include <memory>

#include "toolkit/graphics.h"

namespace qh::gdiplus {

class GdiplusDriver;

// GDI+ objects are opaque handles here, so that no Windows header reaches
// the code that includes this one.
struct NativeGraphics;

class GdiplusGraphics : public Graphics {
public:
    GdiplusGraphics(GdiplusDriver& driver, Bitmap& target, float scale);
    ~GdiplusGraphics() override;
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
    // The theme's glow (DrawThemeTextEx) when a theme is active, else the
    // composed glow.
    void DrawGlowString(const Text& text, const UiFont& font, Argb color, const RectF& r, int glowSize) override;
    void DrawImage(const Bitmap& image, const RectF& dest, const RectF& src, int opacity) override;

private:
    GdiplusDriver& driver_;
    float scale_;
    int width_;
    int height_;
    std::unique_ptr<NativeGraphics> native_;
};

class GdiplusDriver : public GraphicsDriver {
public:
    GdiplusDriver();  // starts GDI+ for the process
    ~GdiplusDriver() override;
    std::unique_ptr<Graphics> Open(Bitmap& target, float scale) override;
    bool DecodeImage(const Bytes& bytes, Bitmap& out) override;
    bool DecodeFrames(const Bytes& bytes, DecodedImage& out) override;
    bool DecodeIconImage(const Bytes& entry, Bitmap& out) override;
    bool DecodeNativeIcon(std::uintptr_t icon, Bitmap& out) override;
    bool DecodeNativeBitmap(std::uintptr_t bitmap, Bitmap& out) override;
    bool FontFamilyExists(const Text& face) override;
    bool Started() const { return token_ != 0; }

private:
    unsigned long long token_ = 0;
};

}  // namespace qh::gdiplus
