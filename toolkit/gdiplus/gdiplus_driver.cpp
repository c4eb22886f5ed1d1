// The process-wide part of the GDI+ backend: start-up, graphics over a
// bitmap, and images decoded from memory.
#include "toolkit/gdiplus/gdiplus_graphics.h"

#include <cstring>

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

std::unique_ptr<Graphics> GdiplusDriver::Open(Bitmap& target) {
    return std::make_unique<GdiplusGraphics>(*this, target);
}

bool GdiplusDriver::DecodeImage(const Bytes& bytes, Bitmap& out) {
    if (bytes.empty() || !Started()) return false;
    // The bytes go into a movable global block that the stream owns.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!block) return false;
    void* data = GlobalLock(block);
    std::memcpy(data, bytes.data(), bytes.size());
    GlobalUnlock(block);
    IStream* stream = nullptr;
    if (CreateStreamOnHGlobal(block, TRUE, &stream) != S_OK || !stream) {
        GlobalFree(block);
        return false;
    }
    GpBitmap* image = nullptr;
    const bool decoded = GdipCreateBitmapFromStream(stream, &image) == Ok && image;
    bool copied = false;
    if (decoded) {
        UINT width = 0, height = 0;
        GdipGetImageWidth(image, &width);
        GdipGetImageHeight(image, &height);
        if (width > 0 && height > 0 && width <= 32767 && height <= 32767) {
            Bitmap result(static_cast<int>(width), static_cast<int>(height));
            // Let GDI+ convert into the toolkit's premultiplied pixels.
            BitmapData locked{};
            locked.Width = width;
            locked.Height = height;
            locked.Stride = result.Stride();
            locked.PixelFormat = PixelFormat32bppPARGB;
            locked.Scan0 = result.Data();
            const GpRect whole(0, 0, static_cast<INT>(width), static_cast<INT>(height));
            if (GdipBitmapLockBits(image, &whole, ImageLockModeRead | ImageLockModeUserInputBuf,
                                   PixelFormat32bppPARGB, &locked) == Ok) {
                GdipBitmapUnlockBits(image, &locked);
                out = std::move(result);
                copied = true;
            }
        }
        GdipDisposeImage(image);
    }
    stream->Release();
    return copied;
}

}  // namespace qh::gdiplus
