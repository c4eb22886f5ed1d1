// A 32-bit off-screen image: premultiplied ARGB pixels, rows top to bottom,
// four bytes a pixel with no padding. Window buffers, decoded skin images and
// every presentation of the headless host are Bitmaps; a graphics backend
// draws straight into the pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "runtime/page_memory.h"
#include "toolkit/geometry.h"

namespace qh {

// Where pixels live: large buffers in pages of their own, made present when
// taken (runtime/page_memory.h), small ones on the heap.
template <typename T>
struct PixelAllocator {
    using value_type = T;
    PixelAllocator() = default;
    template <typename U>
    explicit PixelAllocator(const PixelAllocator<U>&) {}

    T* allocate(std::size_t n) {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kPageMemoryThreshold) return std::allocator<T>().allocate(n);
        void* block = AllocateZeroedPages(bytes);
        if (block == nullptr) throw std::bad_alloc();
        return static_cast<T*>(block);
    }
    void deallocate(T* p, std::size_t n) {
        const std::size_t bytes = n * sizeof(T);
        if (bytes < kPageMemoryThreshold) {
            std::allocator<T>().deallocate(p, n);
        } else {
            FreeZeroedPages(p, bytes);
        }
    }
    friend bool operator==(const PixelAllocator&, const PixelAllocator&) { return true; }
};

class Bitmap {
public:
    Bitmap() = default;
    Bitmap(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    std::uint32_t* Data() { return pixels_.data(); }
    const std::uint32_t* Data() const { return pixels_.data(); }
    int Stride() const { return width_ * 4; }

    // The pixel at (x, y) un-premultiplied, as GetPixel reports it; 0 outside.
    Argb GetPixel(int x, int y) const;
    std::uint32_t RawPixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    void SetRawPixel(int x, int y, std::uint32_t v) { pixels_[static_cast<std::size_t>(y) * width_ + x] = v; }

    // Fills every pixel with one premultiplied value (0 = transparent).
    void Fill(std::uint32_t premultiplied);
    // Copies the area of source at the same position into this bitmap.
    void CopyArea(const Bitmap& source, RectI area);
    // Scales every pixel of source by alpha / 255 and stores it (the constant
    // alpha of a layered window); sizes must match.
    void BlendFrom(const Bitmap& source, int alpha);

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint32_t, PixelAllocator<std::uint32_t>> pixels_;
};

// Clips area to the bitmap's size.
RectI ClipToBitmap(RectI area, int width, int height);

}  // namespace qh
