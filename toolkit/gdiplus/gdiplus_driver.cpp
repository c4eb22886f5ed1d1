// The process-wide part of the GDI+ backend: start-up and graphics over a
// bitmap (images are decoded in gdiplus_image.cpp).
#include "toolkit/gdiplus/gdiplus_graphics.h"

#include "toolkit/gdiplus/gdiplus_native.h"

namespace qh::gdiplus {

GdiplusDriver::GdiplusDriver() {
    GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (GdiplusStartup(&token, &input, nullptr) == Ok) token_ = token;
}

GdiplusDriver::~GdiplusDriver() {
    if (token_) GdiplusShutdown(static_cast<ULONG_PTR>(token_));
}

std::unique_ptr<Graphics> GdiplusDriver::Open(Bitmap& target, float scale) {
    if (!(scale > 0)) return nullptr;
    return std::make_unique<GdiplusGraphics>(*this, target, scale);
}

}  // namespace qh::gdiplus
