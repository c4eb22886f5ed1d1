#include "toolkit/image.h"

#include "runtime/files.h"
#include "toolkit/toolkit.h"

namespace qh {

bool UiImage::LoadFromMemory(const Bytes& bytes) {
    Dispose();
    if (bytes.empty() || Toolkit().graphics == nullptr) return false;
    Bitmap decoded;
    if (!TheGraphics().DecodeImage(bytes, decoded)) return false;
    bitmap_ = std::move(decoded);
    return true;
}

bool UiImage::LoadFromFile(const Text& path) {
    Dispose();
    Bytes bytes;
    if (path.empty() || !ReadWholeFile(path, bytes)) return false;
    return LoadFromMemory(bytes);
}

bool UiImage::RotateFlip(int type) {
    if (type < 0 || type > 7) return false;
    if (bitmap_.Empty()) return true;
    const int w = bitmap_.Width(), h = bitmap_.Height();
    const int turns = type & 3;
    const bool mirror = type >= 4;
    const bool sideways = turns % 2 == 1;
    Bitmap turned(sideways ? h : w, sideways ? w : h);
    for (int y = 0; y < turned.Height(); ++y) {
        for (int x = 0; x < turned.Width(); ++x) {
            // The source pixel that lands on (x, y), before the mirror.
            const int tx = mirror ? turned.Width() - 1 - x : x;
            int sx = tx, sy = y;
            if (turns == 1) sx = y, sy = h - 1 - tx;
            if (turns == 2) sx = w - 1 - tx, sy = h - 1 - y;
            if (turns == 3) sx = w - 1 - y, sy = tx;
            turned.SetRawPixel(x, y, bitmap_.RawPixel(sx, sy));
        }
    }
    bitmap_ = std::move(turned);
    return true;
}

bool UiImage::CreateBitmap(int width, int height) {
    if (width <= 0 || height <= 0) return false;
    bitmap_ = Bitmap(width, height);
    return true;
}

}  // namespace qh
