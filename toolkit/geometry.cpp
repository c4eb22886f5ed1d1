#include "toolkit/geometry.h"

#include <algorithm>
#include <cmath>

namespace qh {

RectF MakeRect(float left, float top, float width, float height) {
    return RectF{left, top, width, height};
}

void SetRect(RectF& r, float left, float top, float width, float height) {
    r = RectF{left, top, width, height};
}

RectI PixelBounds(const RectF& r, int width, int height) {
    int l = std::max(0, static_cast<int>(std::floor(r.left)));
    int t = std::max(0, static_cast<int>(std::floor(r.top)));
    int rr = std::min(width, static_cast<int>(std::ceil(r.Right())));
    int b = std::min(height, static_cast<int>(std::ceil(r.Bottom())));
    if (rr <= l || b <= t) return RectI{};
    return RectI{l, t, rr - l, b - t};
}

RectF ToRectF(const RectI& r) {
    return RectF{static_cast<float>(r.left), static_cast<float>(r.top),
                 static_cast<float>(r.width), static_cast<float>(r.height)};
}

bool IsDarkColor(Argb argb) {
    int bright = (RedOf(argb) >= 126) + (GreenOf(argb) >= 126) + (BlueOf(argb) >= 126);
    return bright < 2;
}

}  // namespace qh
