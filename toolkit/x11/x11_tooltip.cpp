// The X11 host's tooltip, a small override-redirect window below and right
// of the pointer drawn with the toolkit's own graphics and default font, and
// its alert sound.
#include <X11/Xutil.h>

#include "toolkit/draw.h"
#include "toolkit/toolkit.h"
#include "toolkit/x11/x11_state.h"

namespace qh::x11 {

namespace {
constexpr int kPadding = 4;
}  // namespace

void X11Host::HideTooltip() {
    if (tooltipWindow_ != 0) XUnmapWindow(display_, tooltipWindow_);
    // A round trip, not a flush: when this returns the server has hidden the
    // tooltip, so no other client (or a test) can still see it afterwards.
    XSync(display_, False);
}

void X11Host::ShowTooltip(HostHandle window, const Text& text) {
    tooltip_ = text;
    if (text.empty() || Native(window) == nullptr || Toolkit().graphics == nullptr) {
        HideTooltip();
        return;
    }
    // The text's size decides the window's: measure on a scratch bitmap.
    Bitmap scratch(1, 1);
    RectF size = MeasureText(*TheGraphics().Open(scratch), text, Toolkit().defaultFont, MakeRect(0, 0, 400, 200));
    const int logicalWidth = static_cast<int>(size.width) + 2 * kPadding + 1;
    const int logicalHeight = static_cast<int>(size.height) + 2 * kPadding + 1;
    // Drawn at the display's scale; the window is placed in device pixels.
    const int width = ToDevice(logicalWidth, scale_), height = ToDevice(logicalHeight, scale_);
    Bitmap image(width, height);
    {
        auto g = TheGraphics().Open(image, scale_);
        FillRect(*g, MakeRect(0, 0, float(logicalWidth) + 1, float(logicalHeight) + 1), MakeArgb(0xE1FFFF, 255));
        DrawRectStyled(*g, MakeRect(0, 0, float(logicalWidth), float(logicalHeight)), MakeArgb(0x767676, 255));
        DrawText(*g, text, Toolkit().defaultFont, MakeArgb(0x000000, 255),
                 MakeRect(kPadding, kPadding, size.width + 1, size.height + 1));
    }
    ::Window root = 0, child = 0;
    int rx = 0, ry = 0, wx = 0, wy = 0;
    unsigned mask = 0;
    XQueryPointer(display_, window, &root, &child, &rx, &ry, &wx, &wy, &mask);
    const RectI screen = DeviceScreen();
    const int x = std::max(0, std::min(rx + ToDevice(12, scale_), screen.width - width));
    const int below = ry + ToDevice(20, scale_);
    const int y = below + height <= screen.height ? below : std::max(0, ry - height - ToDevice(4, scale_));
    if (tooltipWindow_ == 0) {
        XSetWindowAttributes attrs{};
        attrs.override_redirect = True;
        attrs.save_under = True;
        tooltipWindow_ = XCreateWindow(display_, RootWindow(display_, screen_), x, y, static_cast<unsigned>(width),
                                       static_cast<unsigned>(height), 0, CopyFromParent, InputOutput,
                                       CopyFromParent, CWOverrideRedirect | CWSaveUnder, &attrs);
        tooltipGc_ = XCreateGC(display_, tooltipWindow_, 0, nullptr);
    }
    XMoveResizeWindow(display_, tooltipWindow_, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height));
    XMapRaised(display_, tooltipWindow_);
    XSync(display_, False);
    XImage* xi = XCreateImage(display_, DefaultVisual(display_, screen_),
                              static_cast<unsigned>(DefaultDepth(display_, screen_)), ZPixmap, 0,
                              reinterpret_cast<char*>(image.Data()), static_cast<unsigned>(width),
                              static_cast<unsigned>(height), 32, image.Stride());
    if (xi != nullptr) {
        XPutImage(display_, tooltipWindow_, tooltipGc_, xi, 0, 0, 0, 0, static_cast<unsigned>(width),
                  static_cast<unsigned>(height));
        xi->data = nullptr;  // the pixels belong to the bitmap
        XDestroyImage(xi);
    }
    // Likewise, the text is on the screen once this returns.
    XSync(display_, False);
}

// X has one alert sound, the keyboard bell, whatever the icon: rung at the
// volume the user set (0 percent away from the base volume). Sent at once, as
// the box that asks for it then waits for input.
void X11Host::Beep(int) {
    if (display_ == nullptr) return;
    XBell(display_, 0);
    XFlush(display_);
}

}  // namespace qh::x11
