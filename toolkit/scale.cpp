#include "toolkit/scale.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>

#include "runtime/convert.h"

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
    if (text == nullptr) return 0;
    const std::optional<double> value = ParsePlainDecimal(text);
    return value && *value > 0 ? NearestScaleStep(*value) : 0;
}

namespace {

// The value of "Xft.dpi:" in X resources text ("Xft.dpi:\t192\n"), or 0.
double XftDpi(const char* resources) {
    if (resources == nullptr) return 0;
    constexpr const char* kName = "Xft.dpi:";
    const std::string text = resources;
    for (std::size_t at = text.find(kName); at != std::string::npos; at = text.find(kName, at + 1)) {
        if (at != 0 && text[at - 1] != '\n') continue;  // a longer name ending in it
        const std::size_t from = at + std::strlen(kName), to = text.find('\n', from);
        const std::string line = text.substr(from, to == std::string::npos ? std::string::npos : to - from);
        const std::size_t first = line.find_first_not_of(" \t"), last = line.find_last_not_of(" \t\r");
        if (first == std::string::npos) return 0;
        const std::optional<double> dpi = ParsePlainDecimal(line.substr(first, last - first + 1));
        return dpi && *dpi > 0 ? *dpi : 0;
    }
    return 0;
}

}  // namespace

float ChooseDesktopScale(const char* qingheScale, const char* xResources, const char* gdkScale) {
    if (const float chosen = ParseScale(qingheScale); chosen != 0) return chosen;
    if (const double dpi = XftDpi(xResources); dpi > 0) return ScaleOfDpi(dpi);
    if (const float gdk = ParseScale(gdkScale); gdk != 0) return gdk;
    return 1.0f;
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
