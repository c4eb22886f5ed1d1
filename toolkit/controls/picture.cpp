#include "toolkit/controls/picture.h"

#include <algorithm>

#include "toolkit/graphics.h"

namespace qh {

bool UiPicture::Create(HostHandle hwnd, float left, float top, float width, float height, const Bytes& imageBytes,
                       int cursor, bool visible) {
    const bool decoded = imageBytes.empty() || image_.LoadFromMemory(imageBytes);
    // A picture button (the hand cursor) takes the focus, so the keyboard
    // reaches it too.
    CreateBase(hwnd, MakeRect(left, top, width, height), kKindPicture, visible, cursor == kCursorHand, cursor,
               cursor != kCursorArrow);
    Redraw();
    return decoded;
}

bool UiPicture::Image(const Bytes& imageBytes) {
    if (!IsBound()) return false;
    const bool decoded = image_.LoadFromMemory(imageBytes);
    Redraw();
    return decoded;
}

void UiPicture::Image(UiImage image) {
    if (!IsBound()) return;
    image_ = std::move(image);
    Redraw();
}

void UiPicture::Paint(UiWindow&, Graphics& g, int) {
    if (image_.Empty()) return;
    const RectF b = Bounds();
    const float w = static_cast<float>(image_.Width()), h = static_cast<float>(image_.Height());
    const float scale = std::min({1.0f, b.width / w, b.height / h});
    const RectF dest = MakeRect(b.left + (b.width - w * scale) / 2, b.top + (b.height - h * scale) / 2, w * scale,
                                h * scale);
    const Bitmap& source = image_.PixelsFor(g.Scale());  // the double picture at 150 % and more
    g.DrawImage(source, dest, MakeRect(0, 0, float(source.Width()), float(source.Height())), disabled_ != 0 ? 110 : 255);
}

}  // namespace qh
