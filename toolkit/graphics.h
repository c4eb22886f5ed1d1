// The drawing interface a graphics backend implements (cairo on Linux, GDI+
// on Windows). It is deliberately small: rectangles, lines, paths, clipping,
// text with a layout rectangle, and images. The drawing operations the
// controls call (draw.h) are built on it in portable code.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "runtime/text.h"
#include "toolkit/bitmap.h"
#include "toolkit/geometry.h"

namespace qh {

struct Pen {
    Argb color = 0;
    float width = 1.0f;
    bool dashed = false;
};

// A figure of lines and elliptic arcs, as GDI+ paths are built (angles in
// degrees, clockwise from the positive x axis).
class Path {
public:
    struct Segment {
        enum Kind { kLine, kArc } kind = kLine;
        float x = 0, y = 0, w = 0, h = 0;  // line: from (x, y) to (w, h); arc: its ellipse box
        float start = 0, sweep = 0;
    };
    void AddLine(float x1, float y1, float x2, float y2);
    void AddArc(float x, float y, float w, float h, float startDeg, float sweepDeg);
    void AddPolygon(const std::vector<PointF>& points);
    void CloseFigure() { closed_ = true; }
    bool Closed() const { return closed_; }
    const std::vector<Segment>& Segments() const { return segments_; }

private:
    std::vector<Segment> segments_;
    bool closed_ = false;
};

// Font styles are GDI+'s bits.
enum FontStyle : int { kRegular = 0, kBold = 1, kItalic = 2, kUnderline = 4, kStrikeout = 8 };

struct UiFont {
    Text face;           // GBK face name as the programs give it
    float size = 12.0f;  // pixels
    int style = kRegular;
};

// Layout of a text in its rectangle. Alignments: 0 near, 1 centre, 2 far.
struct TextFormat {
    int align = 0;
    int lineAlign = 0;
    int trimming = 0;      // 0 none, 1 character, 2 word, 3-5 ellipsis
    int hotkeyPrefix = 0;  // 0 none, 1 show (underline), 2 hide the '&'
    int flags = 0;         // kNoWrap, kNoClip
};
constexpr int kFormatNoWrap = 0x1000;
constexpr int kFormatNoClip = 0x4000;

class Graphics {
public:
    virtual ~Graphics() = default;
    // The target's size in logical pixels.
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Device pixels per logical pixel.
    virtual float Scale() const { return 1.0f; }
    // Replaces every pixel of the clip area with the colour (no blending).
    virtual void Clear(Argb color) = 0;
    virtual void FillRectangle(const RectF& r, Argb color) = 0;
    // Fills area with a linear gradient whose ends are the edges of brushRect.
    virtual void FillGradient(const RectF& area, const RectF& brushRect, Argb from, Argb to,
                              bool vertical) = 0;
    virtual void DrawRectangle(const RectF& r, const Pen& pen) = 0;
    virtual void DrawLine(const Pen& pen, PointF from, PointF to) = 0;
    virtual void FillPath(const Path& path, Argb color) = 0;
    virtual void DrawPath(const Path& path, const Pen& pen) = 0;
    virtual void SetClip(const RectF& r) = 0;
    virtual void SetClip(const Path& path) = 0;
    virtual void ResetClip() = 0;
    // The bounding box of the text laid out in layout.
    virtual RectF MeasureString(const Text& text, const UiFont& font, const RectF& layout,
                                const TextFormat& format) = 0;
    virtual void DrawString(const Text& text, const UiFont& font, Argb color, const RectF& layout,
                            const TextFormat& format) = 0;
    // Caption text on a soft light glow about glowSize pixels wide. A backend
    // with a system glow (the Windows theme) uses it; the others compose it
    // with DrawGlowTextByOffsets (draw.h).
    virtual void DrawGlowString(const Text& text, const UiFont& font, Argb color, const RectF& r,
                                int glowSize) = 0;
    // Draws the src part of image stretched over dest, smoothed, with an
    // overall opacity 0-255.
    virtual void DrawImage(const Bitmap& image, const RectF& dest, const RectF& src,
                           int opacity = 255) = 0;
};

// The frames of a decoded image: one for a still image; for an animated GIF
// each frame as it is shown (composed over the ones before it), with the
// delays in hundredths of a second.
struct DecodedImage {
    std::vector<Bitmap> frames;
    std::vector<int> delays;  // empty when the image has none
};

// The most pixels of one image (a still picture, an animation's screen or
// one of its frames, an icon's bitmap): every decoder refuses a larger one
// from the size its header claims, before it allocates the pixels, so a
// small file cannot make the program allocate gigabytes.
constexpr long long kMaxImagePixels = 16LL << 20;

// The most pixels a decoder fills for one image, all frames together.
constexpr long long kMaxDecodedPixels = 1LL << 26;

// The process-wide part of a graphics backend.
class GraphicsDriver {
public:
    virtual ~GraphicsDriver() = default;
    // A Graphics drawing into target; target must outlive it. At a scale
    // other than 1 the target holds device pixels and every coordinate and
    // size given to the Graphics is logical: it draws s device pixels per
    // logical one, with text and lines laid on the device's pixel grid.
    virtual std::unique_ptr<Graphics> Open(Bitmap& target, float scale = 1.0f) = 0;
    // Decodes PNG or JPEG bytes; false (and out untouched) when they are not
    // an image the backend can read.
    virtual bool DecodeImage(const Bytes& bytes, Bitmap& out) = 0;
    // Decodes every frame of PNG, JPEG or GIF bytes; false (and out
    // untouched) when they are not an image the backend can read.
    virtual bool DecodeFrames(const Bytes& bytes, DecodedImage& out) {
        Bitmap still;
        if (!DecodeImage(bytes, still)) return false;
        out.frames.clear();
        out.frames.push_back(std::move(still));
        out.delays.clear();
        return true;
    }
    // Decodes one image of an .ico file: a PNG, or a device-independent
    // bitmap followed by its AND mask, as the file stores it.
    virtual bool DecodeIconImage(const Bytes&, Bitmap&) { return false; }
    // The pixels of a native icon or bitmap (an HICON or HBITMAP on Windows);
    // false where the platform has no such handles.
    virtual bool DecodeNativeIcon(std::uintptr_t, Bitmap&) { return false; }
    virtual bool DecodeNativeBitmap(std::uintptr_t, Bitmap&) { return false; }
    // Whether a font family of that (GBK) name can be created.
    virtual bool FontFamilyExists(const Text& face) = 0;
};

}  // namespace qh
