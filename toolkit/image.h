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
    // Reads and decodes an image file (GBK path, relative names resolved by
    // the caller); false and an empty image when it cannot.
    bool LoadFromFile(const Text& path);
    bool CreateBitmap(int width, int height);
    // GDI+'s RotateFlipType: the low two bits turn the image clockwise by
    // that many quarter turns, 4 then mirrors it left to right (so 6 is a
    // vertical flip). Other values leave the image as it is and return false.
    bool RotateFlip(int type);
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
