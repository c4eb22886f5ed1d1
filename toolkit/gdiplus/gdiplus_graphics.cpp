#include "toolkit/gdiplus/gdiplus_graphics.h"

#include <cmath>

#include "toolkit/gdiplus/gdiplus_native.h"

namespace qh::gdiplus {

BoundFunctions& Bound() {
    static BoundFunctions functions;
    return functions;
}

ScopedPen::ScopedPen(const Pen& pen) {
    Bound().createPen1.get()(pen.color, pen.width, UnitWorld, &pen_);
    if (pen_ && pen.dashed) GdipSetPenDashStyle(pen_, DashStyleDash);
}
ScopedPen::~ScopedPen() {
    if (pen_) GdipDeletePen(pen_);
}

ScopedPath::ScopedPath(const Path& path) {
    GdipCreatePath(FillModeAlternate, &path_);
    if (!path_) return;
    for (const auto& s : path.Segments()) {
        if (s.kind == Path::Segment::kLine) {
            GdipAddPathLine(path_, s.x, s.y, s.w, s.h);
        } else {
            GdipAddPathArc(path_, s.x, s.y, s.w, s.h, s.start, s.sweep);
        }
    }
    if (path.Closed()) GdipClosePathFigure(path_);
}
ScopedPath::~ScopedPath() {
    if (path_) GdipDeletePath(path_);
}

GdiplusGraphics::GdiplusGraphics(GdiplusDriver& driver, Bitmap& target, float scale)
    : driver_(driver), scale_(scale), width_(static_cast<int>(std::lround(target.Width() / scale))),
      height_(static_cast<int>(std::lround(target.Height() / scale))), native_(std::make_unique<NativeGraphics>()) {
    if (target.Empty()) return;
    // The bitmap shares the target's memory, so drawing lands in the pixels
    // the toolkit presents.
    GdipCreateBitmapFromScan0(target.Width(), target.Height(), target.Stride(), PixelFormat32bppPARGB,
                              reinterpret_cast<BYTE*>(target.Data()), &native_->bitmap);
    if (!native_->bitmap) return;
    GdipGetImageGraphicsContext(native_->bitmap, &native_->graphics);
    if (!native_->graphics) return;
    GdipSetSmoothingMode(native_->graphics, SmoothingModeAntiAlias);
    GdipSetTextRenderingHint(native_->graphics, TextRenderingHintAntiAliasGridFit);
    GdipSetPixelOffsetMode(native_->graphics, PixelOffsetModeHalf);
    // Logical coordinates in, device pixels out: GDI+ lays text out and
    // rasterises it at the device size under the world transform.
    if (scale != 1.0f) GdipScaleWorldTransform(native_->graphics, scale, scale, MatrixOrderPrepend);
}

GdiplusGraphics::~GdiplusGraphics() {
    if (native_->graphics) GdipDeleteGraphics(native_->graphics);
    if (native_->bitmap) GdipDisposeImage(native_->bitmap);
}

void GdiplusGraphics::Clear(Argb color) {
    if (native_->graphics) GdipGraphicsClear(native_->graphics, color);
}

void GdiplusGraphics::FillRectangle(const RectF& r, Argb color) {
    if (!native_->graphics) return;
    GpSolidFill* brush = nullptr;
    GdipCreateSolidFill(color, &brush);
    if (!brush) return;
    GdipFillRectangle(native_->graphics, brush, r.left, r.top, r.width, r.height);
    GdipDeleteBrush(brush);
}

void GdiplusGraphics::FillGradient(const RectF& area, const RectF& brushRect, Argb from, Argb to,
                                   bool vertical) {
    if (!native_->graphics || brushRect.width <= 0 || brushRect.height <= 0) return;
    GpLineGradient* brush = nullptr;
    const GpRectF rect = ToGp(brushRect);
    GdipCreateLineBrushFromRect(&rect, from, to,
                                vertical ? LinearGradientModeVertical : LinearGradientModeHorizontal,
                                WrapModeTileFlipXY, &brush);
    if (!brush) return;
    GdipFillRectangle(native_->graphics, brush, area.left, area.top, area.width, area.height);
    GdipDeleteBrush(brush);
}

void GdiplusGraphics::DrawRectangle(const RectF& r, const Pen& pen) {
    if (!native_->graphics) return;
    ScopedPen p(pen);
    if (p.get()) GdipDrawRectangle(native_->graphics, p.get(), r.left, r.top, r.width, r.height);
}

void GdiplusGraphics::DrawLine(const Pen& pen, PointF from, PointF to) {
    if (!native_->graphics) return;
    ScopedPen p(pen);
    if (p.get()) Bound().drawLine.get()(native_->graphics, p.get(), from.x, from.y, to.x, to.y);
}

void GdiplusGraphics::FillPath(const Path& path, Argb color) {
    if (!native_->graphics) return;
    ScopedPath p(path);
    GpSolidFill* brush = nullptr;
    GdipCreateSolidFill(color, &brush);
    if (p.get() && brush) Bound().fillPath.get()(native_->graphics, brush, p.get());
    if (brush) GdipDeleteBrush(brush);
}

void GdiplusGraphics::DrawPath(const Path& path, const Pen& pen) {
    if (!native_->graphics) return;
    ScopedPath p(path);
    ScopedPen pn(pen);
    if (p.get() && pn.get()) GdipDrawPath(native_->graphics, pn.get(), p.get());
}

void GdiplusGraphics::SetClip(const RectF& r) {
    if (native_->graphics) GdipSetClipRect(native_->graphics, r.left, r.top, r.width, r.height, CombineModeReplace);
}

void GdiplusGraphics::SetClip(const Path& path) {
    if (!native_->graphics) return;
    ScopedPath p(path);
    if (p.get()) GdipSetClipPath(native_->graphics, p.get(), CombineModeReplace);
}

void GdiplusGraphics::ResetClip() {
    if (native_->graphics) GdipResetClip(native_->graphics);
}

void GdiplusGraphics::DrawImage(const Bitmap& image, const RectF& dest, const RectF& src, int opacity) {
    if (!native_->graphics || image.Empty() || opacity <= 0) return;
    GpBitmap* source = nullptr;
    // GDI+ only reads the source pixels here; the cast is for its signature.
    GdipCreateBitmapFromScan0(image.Width(), image.Height(), image.Stride(), PixelFormat32bppPARGB,
                              reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(image.Data())), &source);
    if (!source) return;
    GpImageAttributes* attributes = nullptr;
    if (opacity < 255) {
        GdipCreateImageAttributes(&attributes);
        ColorMatrix m{};
        for (int i = 0; i < 5; ++i) m.m[i][i] = 1.0f;
        m.m[3][3] = static_cast<float>(opacity) / 255.0f;
        GdipSetImageAttributesColorMatrix(attributes, ColorAdjustTypeBitmap, TRUE, &m, nullptr,
                                          ColorMatrixFlagsDefault);
    }
    GdipSetInterpolationMode(native_->graphics, InterpolationModeHighQualityBicubic);
    GdipDrawImageRectRect(native_->graphics, source, dest.left, dest.top, dest.width, dest.height, src.left,
                          src.top, src.width, src.height, UnitPixel, attributes, nullptr, nullptr);
    if (attributes) GdipDisposeImageAttributes(attributes);
    GdipDisposeImage(source);
}

}  // namespace qh::gdiplus
