// UiImage: a decoded image (skins, pictures), held as a Bitmap.
#pragma once

#include "runtime/text.h"
#include "toolkit/bitmap.h"

namespace qh {

class UiImage {
public:
    void Dispose() { bitmap_ = Bitmap(); }
    // Decodes PNG or JPEG bytes, replacing the previous image; empty bytes or
    // bytes that are not an image leave the image empty and return false.
    bool LoadFromMemory(const Bytes& bytes);
    bool CreateBitmap(int width, int height);
    bool Empty() const { return bitmap_.Empty(); }
    int Width() const { return bitmap_.Width(); }
    int Height() const { return bitmap_.Height(); }
    Argb GetPixel(int x, int y) const { return bitmap_.GetPixel(x, y); }
    const Bitmap& Pixels() const { return bitmap_; }
    Bitmap& Pixels() { return bitmap_; }

private:
    Bitmap bitmap_;
};

}  // namespace qh
