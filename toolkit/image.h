// UiImage: a decoded image (skins, pictures, icons), held as a Bitmap. An
// animated GIF keeps every frame and shows the one selected.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/text.h"
#include "toolkit/bitmap.h"

namespace qh {

// A picture drawn at twice the size for screens at 150 % and more: once
// registered (at program start, for the program's own artwork), every image
// loaded from the base bytes also holds the double one, and a window at such
// a scale draws it instead of enlarging the base picture.
void RegisterDoubleImage(const Bytes& base, const Bytes& twice);

class UiImage {
public:
    // A native handle: an HICON or HBITMAP on Windows.
    using NativeHandle = std::uintptr_t;

    void Dispose();
    // Decodes PNG, JPEG or GIF bytes, replacing the previous image; empty
    // bytes or bytes that are not an image leave the image empty and return
    // false. A GIF keeps all its frames, with the first one selected.
    bool LoadFromMemory(const Bytes& bytes);
    // Reads and decodes an image file (GBK path, relative names resolved by
    // the caller); false and an empty image when it cannot.
    bool LoadFromFile(const Text& path);
    bool CreateBitmap(int width, int height);
    // The picture of an HICON, with its transparency; the icon stays the
    // caller's. The Linux build has no icon handles: there it returns false.
    bool LoadFromIcon(NativeHandle icon);
    // The 16 x 16 image of an .ico file's bytes (where icons are files, this
    // is how a Linux program loads one). Without a 16 x 16 image, the
    // smallest larger one, else the largest, at its own size.
    bool LoadFromIconBytes(const Bytes& ico);
    // The picture of an HBITMAP, taken as opaque (alpha is not read), as
    // GDI+ takes bitmap handles. The Linux build has no bitmap handles and
    // returns false: there pixels come as image bytes or through Pixels().
    bool LoadFromHbitmap(NativeHandle bitmap);

    // GDI+'s RotateFlipType: the low two bits turn the image clockwise by
    // that many quarter turns, 4 then mirrors it left to right (so 6 is a
    // vertical flip). Every frame of an animation turns. Other values leave
    // the image as it is and return false.
    bool RotateFlip(int type);

    // The frames of an animation: 0 for an empty image, 1 for a still one.
    int FrameCount() const;
    // The delay of each frame in hundredths of a second; empty when the
    // image has none (a PNG, a JPEG, a bitmap).
    const std::vector<int>& FrameDelays() const { return delays_; }
    // Shows frame index (0-based); false, and nothing changes, when there is
    // no such frame. Changes made through Pixels() last until the next one.
    bool SelectFrame(int index);
    int SelectedFrame() const { return frame_; }

    bool Empty() const { return bitmap_.Empty(); }
    int Width() const { return bitmap_.Width(); }
    int Height() const { return bitmap_.Height(); }
    Argb GetPixel(int x, int y) const { return bitmap_.GetPixel(x, y); }
    const Bitmap& Pixels() const { return bitmap_; }
    Bitmap& Pixels() { return bitmap_; }
    // The pixels to draw at a display scale: the double picture from 1.5 on
    // when there is one (a still image loaded from registered bytes), else
    // the picture itself. Either is drawn over the picture's own size in
    // logical pixels (Width() x Height()).
    const Bitmap& PixelsFor(float scale) const;

private:
    // Replaces the image with a still picture.
    bool Adopt(Bitmap picture);

    Bitmap bitmap_;               // the picture shown: the selected frame
    // The registered double picture: its bytes from the load, decoded when
    // first drawn at 150 % or more (so a window at 100 % never pays for it).
    Bytes twiceBytes_;
    mutable Bitmap twice_;
    std::vector<Bitmap> frames_;  // every frame of an animation; empty for a still image
    std::vector<int> delays_;
    int frame_ = 0;
};

}  // namespace qh
