// Presentation of the Win32 host: the back buffer is copied into a 32-bit
// DIB section and put on the screen with UpdateLayeredWindow, which keeps the
// skin's per-pixel alpha and applies the window's constant alpha.
#include <cstring>

#include "toolkit/win32/win32_host.h"
#include "toolkit/win32/win32_host_state.h"
#include "toolkit/win32/top_down_dib.h"

namespace qh::win32 {
namespace {

// Makes the state's DIB section match the window's size.
bool EnsureDib(HostWindowState& s, int width, int height) {
    if (s.dib && s.dibWidth == width && s.dibHeight == height) return true;
    s.FreePresentation();
    BITMAPINFO info = TopDownDibInfo(width, height);
    HDC screen = GetDC(nullptr);
    s.memoryDc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    void* bits = nullptr;
    s.dib = CreateDIBSection(s.memoryDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!s.memoryDc || !s.dib) {
        s.FreePresentation();
        return false;
    }
    s.previousBitmap = SelectObject(s.memoryDc, s.dib);
    s.dibBits = static_cast<std::uint32_t*>(bits);
    s.dibWidth = width;
    s.dibHeight = height;
    std::memset(s.dibBits, 0, static_cast<size_t>(width) * height * 4);
    s.screen = Bitmap(width, height);
    return true;
}

}  // namespace

void Win32Host::Present(HostHandle window, const Bitmap& image, const RectI& area, int alpha) {
    HostWindowState* s = StateOf(window);
    if (!s || image.Empty()) return;
    const RectI bounds = DeviceWindowRect(window);  // the image is in device pixels too
    const int width = bounds.width < image.Width() ? bounds.width : image.Width();
    const int height = bounds.height < image.Height() ? bounds.height : image.Height();
    if (width <= 0 || height <= 0 || !EnsureDib(*s, width, height)) return;

    // Copy the changed rows of the area; both sides hold premultiplied BGRA.
    const RectI part = ClipToBitmap(area, width, height);
    for (int y = part.top; y < part.top + part.height; ++y) {
        const std::uint32_t* from = image.Data() + static_cast<size_t>(y) * image.Width() + part.left;
        std::memcpy(s->dibBits + static_cast<size_t>(y) * width + part.left, from,
                    static_cast<size_t>(part.width) * 4);
    }
    s->screen.CopyArea(image, part);

    SIZE size{width, height};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(alpha < 0 ? 255 : (alpha > 255 ? 255 : alpha)),
                        AC_SRC_ALPHA};
    UpdateLayeredWindow(s->hwnd, nullptr, nullptr, &size, s->memoryDc, &source, 0, &blend, ULW_ALPHA);
}

const Bitmap& Win32Host::Screen(HostHandle window) {
    static const Bitmap empty;
    HostWindowState* s = StateOf(window);
    return s ? s->screen : empty;
}

}  // namespace qh::win32
