#include "toolkit/image.h"

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

bool UiImage::CreateBitmap(int width, int height) {
    if (width <= 0 || height <= 0) return false;
    bitmap_ = Bitmap(width, height);
    return true;
}

}  // namespace qh
