// Images through GDI+: PNG, JPEG and GIF decoded from memory streams, the
// frames of GIF animations (the time frame dimension) with their delays
// (property tag 0x5100), icons as HICON (32-bit colour bitmaps keep their
// alpha; an .ico image becomes an HICON through CreateIconFromResourceEx) and
// bitmaps as HBITMAP (GdipCreateBitmapFromHBITMAP, no palette).
#include <cstring>
#include <memory>

#include "toolkit/gdiplus/gdiplus_graphics.h"
#include "toolkit/gdiplus/gdiplus_native.h"
#include "toolkit/image_header.h"
#include "toolkit/win32/top_down_dib.h"

namespace qh::gdiplus {
namespace {

// Copies the selected frame of a GDI+ image into the toolkit's premultiplied
// pixels, letting GDI+ convert the pixel format. The size GDI+ read from the
// header is checked first: a frame over kMaxImagePixels is refused before
// GDI+ is asked for its pixels and before any are allocated here.
bool CopyPixels(GpBitmap* image, Bitmap& out) {
    UINT width = 0, height = 0;
    GdipGetImageWidth(image, &width);
    GdipGetImageHeight(image, &height);
    if (width == 0 || height == 0 || width > 32767 || height > 32767) return false;
    if (static_cast<long long>(width) * height > kMaxImagePixels) return false;
    Bitmap result(static_cast<int>(width), static_cast<int>(height));
    BitmapData locked{};
    locked.Width = width;
    locked.Height = height;
    locked.Stride = result.Stride();
    locked.PixelFormat = PixelFormat32bppPARGB;
    locked.Scan0 = result.Data();
    const GpRect whole(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    if (GdipBitmapLockBits(image, &whole, ImageLockModeRead | ImageLockModeUserInputBuf, PixelFormat32bppPARGB,
                           &locked) != Ok) {
        return false;
    }
    GdipBitmapUnlockBits(image, &locked);
    out = std::move(result);
    return true;
}

// An image decoded by GDI+ from a stream over a copy of the bytes; GDI+ may
// read the stream again whenever another frame is selected, so both live as
// long as this object.
class StreamImage {
public:
    explicit StreamImage(const Bytes& bytes) {
        if (bytes.empty()) return;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        if (!block) return;
        std::memcpy(GlobalLock(block), bytes.data(), bytes.size());
        GlobalUnlock(block);
        // The stream owns the block from here on.
        if (CreateStreamOnHGlobal(block, TRUE, &stream_) != S_OK || !stream_) {
            GlobalFree(block);
            stream_ = nullptr;
            return;
        }
        if (GdipCreateBitmapFromStream(stream_, &image_) != Ok) image_ = nullptr;
    }
    ~StreamImage() {
        if (image_) GdipDisposeImage(image_);
        if (stream_) stream_->Release();
    }
    StreamImage(const StreamImage&) = delete;
    StreamImage& operator=(const StreamImage&) = delete;
    GpBitmap* get() const { return image_; }

private:
    IStream* stream_ = nullptr;
    GpBitmap* image_ = nullptr;
};

// The delays of an animation's frames (hundredths of a second); empty when
// the image has no delay property.
std::vector<int> FrameDelays(GpImage* image) {
    UINT size = 0;
    if (GdipGetPropertyItemSize(image, PropertyTagFrameDelay, &size) != Ok || size < sizeof(PropertyItem)) return {};
    auto buffer = std::make_unique<std::uint64_t[]>(size / sizeof(std::uint64_t) + 1);
    auto* item = reinterpret_cast<PropertyItem*>(buffer.get());
    if (GdipGetPropertyItem(image, PropertyTagFrameDelay, size, item) != Ok || !item->value) return {};
    const std::size_t count = static_cast<std::size_t>(item->length) / 4;
    std::vector<int> delays(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::int32_t delay = 0;
        std::memcpy(&delay, static_cast<const char*>(item->value) + i * 4, 4);
        delays[i] = delay;
    }
    return delays;
}

// The pixels of a bitmap as 32-bit rows from the top; empty when they
// cannot be read.
std::vector<std::uint32_t> ReadBitmapBits(HBITMAP bitmap, int width, int height) {
    std::vector<std::uint32_t> bits(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    BITMAPINFO info = win32::TopDownDibInfo(width, height);
    HDC dc = CreateCompatibleDC(nullptr);
    const int rows = GetDIBits(dc, bitmap, 0, static_cast<UINT>(height), bits.data(), &info, DIB_RGB_COLORS);
    DeleteDC(dc);
    if (rows != height) bits.clear();
    return bits;
}

// A 32-bit icon's colour bitmap with its alpha, premultiplied. When every
// alpha is zero the icon was made without alpha, and the mask says which
// pixels show, as Windows draws such icons.
bool AlphaIconPixels(const ICONINFO& info, int width, int height, Bitmap& out) {
    const std::vector<std::uint32_t> color = ReadBitmapBits(info.hbmColor, width, height);
    if (color.empty()) return false;
    bool anyAlpha = false;
    for (std::uint32_t p : color) anyAlpha = anyAlpha || (p >> 24) != 0;
    std::vector<std::uint32_t> mask;
    if (!anyAlpha) {
        mask = ReadBitmapBits(info.hbmMask, width, height);
        if (mask.empty()) return false;
    }
    Bitmap result(width, height);
    for (std::size_t i = 0; i < color.size(); ++i) {
        const std::uint32_t p = color[i];
        const std::uint32_t a = anyAlpha ? p >> 24 : ((mask[i] & 0xFFFFFFu) != 0 ? 0 : 255);
        auto mul = [a](std::uint32_t c) { return (c * a + 127) / 255; };
        result.Data()[i] = a << 24 | mul((p >> 16) & 0xFF) << 16 | mul((p >> 8) & 0xFF) << 8 | mul(p & 0xFF);
    }
    out = std::move(result);
    return true;
}

// Whether an .ico image holds all the bytes its header asks for, so that
// the system reads nothing beyond it: a PNG within the limits of
// PngWithinLimits (user32 decodes it whole), or a DIB with its palette,
// colour rows and mask rows.
bool IconImageFits(const Bytes& entry) {
    if (IsPng(entry)) return PngWithinLimits(entry);
    if (entry.size() < sizeof(BITMAPINFOHEADER)) return false;
    BITMAPINFOHEADER header;
    std::memcpy(&header, entry.data(), sizeof header);
    const long long width = header.biWidth, height = header.biHeight / 2, bits = header.biBitCount;
    if (header.biSize < sizeof header || width <= 0 || width > 1024 || height <= 0 || height > 1024) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
    const long long palette = bits > 8 ? 0 : (header.biClrUsed != 0 && header.biClrUsed < (1u << bits) ? header.biClrUsed : 1LL << bits);
    const long long colorRows = (width * bits + 31) / 32 * 4 * height;
    const long long maskRows = (width + 31) / 32 * 4 * height;
    return static_cast<long long>(header.biSize) + palette * 4 + colorRows + maskRows <= static_cast<long long>(entry.size());
}

}  // namespace

bool GdiplusDriver::DecodeImage(const Bytes& bytes, Bitmap& out) {
    if (!Started() || (IsPng(bytes) && !PngWithinLimits(bytes))) return false;
    StreamImage image(bytes);
    return image.get() && CopyPixels(image.get(), out);
}

bool GdiplusDriver::DecodeFrames(const Bytes& bytes, DecodedImage& out) {
    if (!Started() || (IsPng(bytes) && !PngWithinLimits(bytes))) return false;
    StreamImage image(bytes);
    if (!image.get()) return false;
    GUID time{};
    CLSIDFromString(L"{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}", &time);
    UINT count = 0;
    if (GdipImageGetFrameCount(image.get(), &time, &count) != Ok || count == 0) count = 1;
    DecodedImage result;
    long long pixels = 0;
    for (UINT i = 0; i < count; ++i) {
        if (count > 1 && GdipImageSelectActiveFrame(image.get(), &time, i) != Ok) break;
        Bitmap frame;
        if (!CopyPixels(image.get(), frame)) break;
        // Frames past the budget are dropped, as the Linux decoder does.
        pixels += static_cast<long long>(frame.Width()) * frame.Height();
        if (pixels > kMaxDecodedPixels) break;
        result.frames.push_back(std::move(frame));
    }
    if (result.frames.empty()) return false;
    if (count > 1 || (bytes.size() >= 3 && std::memcmp(bytes.data(), "GIF", 3) == 0)) {
        result.delays = FrameDelays(image.get());
        result.delays.resize(result.frames.size());
    }
    out = std::move(result);
    return true;
}

bool GdiplusDriver::DecodeIconImage(const Bytes& entry, Bitmap& out) {
    if (!IconImageFits(entry)) return false;
    HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(entry.data()), static_cast<DWORD>(entry.size()), TRUE,
                                          0x00030000, 0, 0, LR_DEFAULTCOLOR);
    if (!icon) return false;
    const bool ok = DecodeNativeIcon(reinterpret_cast<std::uintptr_t>(icon), out);
    DestroyIcon(icon);
    return ok;
}

bool GdiplusDriver::DecodeNativeIcon(std::uintptr_t handle, Bitmap& out) {
    if (!Started()) return false;
    HICON icon = reinterpret_cast<HICON>(handle);
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return false;
    bool ok = false;
    BITMAP color{};
    if (info.hbmColor && GetObjectW(info.hbmColor, sizeof color, &color) == sizeof color && color.bmBitsPixel == 32) {
        ok = AlphaIconPixels(info, color.bmWidth, color.bmHeight, out);
    } else {
        GpBitmap* image = nullptr;
        if (GdipCreateBitmapFromHICON(icon, &image) == Ok && image) {
            ok = CopyPixels(image, out);
            GdipDisposeImage(image);
        }
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return ok;
}

bool GdiplusDriver::DecodeNativeBitmap(std::uintptr_t handle, Bitmap& out) {
    if (!Started()) return false;
    GpBitmap* image = nullptr;
    if (GdipCreateBitmapFromHBITMAP(reinterpret_cast<HBITMAP>(handle), nullptr, &image) != Ok || !image) return false;
    const bool ok = CopyPixels(image, out);
    GdipDisposeImage(image);
    return ok;
}

}  // namespace qh::gdiplus
