#include "toolkit/scale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace qh {

float NearestScaleStep(double wanted) {
    if (!(wanted > 0)) return 1.0f;
    float best = kScaleSteps[0];
    for (float step : kScaleSteps) {
        if (std::abs(step - wanted) < std::abs(best - wanted)) best = step;
    }
    return best;
}

float ScaleOfDpi(double dpi) { return NearestScaleStep(dpi / kLogicalDpi); }

float ParseScale(const char* text) {
    if (text == nullptr || *text == '\0') return 0;
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (end == text || *end != '\0' || !(value > 0)) return 0;
    return NearestScaleStep(value);
}

int ToDevice(int logical, float scale) { return static_cast<int>(std::lround(logical * double(scale))); }

RectI ToDevice(const RectI& r, float scale) {
    const int left = ToDevice(r.left, scale), top = ToDevice(r.top, scale);
    return RectI{left, top, ToDevice(r.left + r.width, scale) - left, ToDevice(r.top + r.height, scale) - top};
}

RectI DevicePixelBounds(const RectF& r, float scale, int width, int height) {
    const RectF device{r.left * scale, r.top * scale, r.width * scale, r.height * scale};
    return PixelBounds(device, width, height);
}

int ToLogical(int device, float scale) {
    constexpr double kPixelCentre = 0.5;
    return static_cast<int>(std::floor((device + kPixelCentre) / double(scale)));
}

RectI ToLogical(const RectI& r, float scale) {
    auto near = [scale](int v) { return static_cast<int>(std::lround(v / double(scale))); };
    const int left = near(r.left), top = near(r.top);
    return RectI{left, top, near(r.left + r.width) - left, near(r.top + r.height) - top};
}

}  // namespace qh
