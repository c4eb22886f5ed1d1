// Images of the Linux build beyond single PNG and JPEG pictures: the frames
// of GIF animations, and the images of .ico files (PNG, or a device-
// independent bitmap of 1, 4, 8, 24 or 32 bits with its AND mask). Linux has
// no native icon or bitmap handles, so those stay with the driver's default.
#include <cstring>

#include "toolkit/cairo/cairo_graphics.h"
#include "toolkit/cairo/gif_decoder.h"
#include "toolkit/image_header.h"

namespace qh::cairo {
namespace {

std::uint32_t Read32(const Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
int Read16(const Bytes& b, std::size_t at) { return b[at] | b[at + 1] << 8; }

std::uint32_t Premultiply(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    auto mul = [a](std::uint32_t c) { return (c * a + 127) / 255; };
    return a << 24 | mul(r) << 16 | mul(g) << 8 | mul(b);
}

// Icons larger than this are not icons; the limit keeps the size sums small
// and the bitmap far below kMaxImagePixels.
constexpr int kMaxIconSide = 1024;

// An icon image stored as a bottom-up DIB whose height counts the colour
// rows and the AND mask rows together. Where the mask bit is set the pixel
// is transparent; a 32-bit image with any alpha takes its alpha instead,
// and one whose alpha is all zero falls back on the mask, as Windows does.
bool DecodeIconDib(const Bytes& dib, Bitmap& out) {
    if (dib.size() < 40) return false;
    const std::size_t headerSize = Read32(dib, 0);
    const auto width = static_cast<std::int32_t>(Read32(dib, 4));
    const auto doubleHeight = static_cast<std::int32_t>(Read32(dib, 8));
    const int bitCount = Read16(dib, 14);
    const std::uint32_t compression = Read32(dib, 16);
    const std::uint32_t colorsUsed = Read32(dib, 32);
    const int height = doubleHeight / 2;
    if (headerSize < 40 || headerSize > dib.size() || compression != 0) return false;
    if (width <= 0 || width > kMaxIconSide || height <= 0 || height > kMaxIconSide) return false;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) return false;

    const std::size_t paletteSize = bitCount <= 8 ? (colorsUsed != 0 && colorsUsed < (1u << bitCount) ? colorsUsed : 1u << bitCount) : 0;
    const std::size_t colorStride = (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
    const std::size_t maskStride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
    const std::size_t colorsAt = headerSize + paletteSize * 4;
    const std::size_t maskAt = colorsAt + colorStride * static_cast<std::size_t>(height);
    if (maskAt > dib.size()) return false;
    // A 32-bit image may come without its mask; every other one needs it.
    const bool hasMask = maskAt + maskStride * static_cast<std::size_t>(height) <= dib.size();
    if (!hasMask && bitCount != 32) return false;

    bool anyAlpha = false;
    if (bitCount == 32) {
        for (int y = 0; y < height && !anyAlpha; ++y) {
            for (int x = 0; x < width && !anyAlpha; ++x) {
                anyAlpha = dib[colorsAt + static_cast<std::size_t>(y) * colorStride + static_cast<std::size_t>(x) * 4 + 3] != 0;
            }
        }
    }
    Bitmap bmp(width, height);
    for (int row = 0; row < height; ++row) {
        const std::size_t colorRow = colorsAt + static_cast<std::size_t>(row) * colorStride;
        const std::size_t maskRow = maskAt + static_cast<std::size_t>(row) * maskStride;
        const int y = height - 1 - row;
        for (int x = 0; x < width; ++x) {
            const auto ux = static_cast<std::size_t>(x);
            std::uint32_t b = 0, g = 0, r = 0, a = 255;
            if (bitCount <= 8) {
                const std::size_t bit = ux * static_cast<std::size_t>(bitCount);
                const int shift = 8 - bitCount - static_cast<int>(bit % 8);
                const std::size_t index = (dib[colorRow + bit / 8] >> shift) & ((1u << bitCount) - 1);
                if (index < paletteSize) {
                    const std::size_t at = headerSize + index * 4;
                    b = dib[at];
                    g = dib[at + 1];
                    r = dib[at + 2];
                }
            } else {
                const std::size_t at = colorRow + ux * static_cast<std::size_t>(bitCount / 8);
                b = dib[at];
                g = dib[at + 1];
                r = dib[at + 2];
                if (anyAlpha) a = dib[at + 3];
            }
            if (!anyAlpha && hasMask && ((dib[maskRow + ux / 8] >> (7 - ux % 8)) & 1)) a = 0;
            bmp.SetRawPixel(x, y, Premultiply(a, r, g, b));
        }
    }
    out = std::move(bmp);
    return true;
}

}  // namespace

bool CairoDriver::DecodeFrames(const Bytes& bytes, DecodedImage& out) {
    if (IsGif(bytes)) return DecodeGif(bytes, out);
    return GraphicsDriver::DecodeFrames(bytes, out);
}

bool CairoDriver::DecodeIconImage(const Bytes& entry, Bitmap& out) {
    if (IsPng(entry)) return DecodeImage(entry, out);
    return DecodeIconDib(entry, out);
}

}  // namespace qh::cairo
