#include "toolkit/bitmap.h"

#include <algorithm>
#include <cstring>

namespace qh {

Bitmap::Bitmap(int width, int height)
    : width_(std::max(0, width)), height_(std::max(0, height)),
      pixels_(static_cast<std::size_t>(width_) * height_, 0u) {}

Argb Bitmap::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    std::uint32_t p = RawPixel(x, y);
    std::uint32_t a = p >> 24;
    if (a == 0) return 0;
    auto unmul = [a](std::uint32_t c) { return std::min<std::uint32_t>(255, (c * 255 + a / 2) / a); };
    return (a << 24) | (unmul((p >> 16) & 0xFF) << 16) | (unmul((p >> 8) & 0xFF) << 8) | unmul(p & 0xFF);
}

void Bitmap::Fill(std::uint32_t premultiplied) {
    std::fill(pixels_.begin(), pixels_.end(), premultiplied);
}

RectI ClipToBitmap(RectI a, int width, int height) {
    int l = std::max(0, a.left), t = std::max(0, a.top);
    int r = std::min(width, a.left + a.width), b = std::min(height, a.top + a.height);
    if (r <= l || b <= t) return RectI{};
    return RectI{l, t, r - l, b - t};
}

void Bitmap::CopyArea(const Bitmap& source, RectI area) {
    area = ClipToBitmap(area, std::min(width_, source.width_), std::min(height_, source.height_));
    for (int y = area.top; y < area.top + area.height; ++y) {
        std::memcpy(&pixels_[static_cast<std::size_t>(y) * width_ + area.left],
                    &source.pixels_[static_cast<std::size_t>(y) * source.width_ + area.left],
                    static_cast<std::size_t>(area.width) * 4);
    }
}

void Bitmap::BlendFrom(const Bitmap& source, int alpha) {
    alpha = std::clamp(alpha, 0, 255);
    int w = std::min(width_, source.width_), h = std::min(height_, source.height_);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            std::uint32_t p = source.RawPixel(x, y), out = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                std::uint32_t c = (p >> shift) & 0xFF;
                out |= ((c * static_cast<std::uint32_t>(alpha) + 127) / 255) << shift;
            }
            SetRawPixel(x, y, out);
        }
    }
}

}  // namespace qh
