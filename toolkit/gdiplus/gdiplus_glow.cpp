// Caption glow of the GDI+ backend: the theme's own glowing text
// (DrawThemeTextEx, bound at run time from UxTheme.dll) drawn into a 32-bit
// DIB and composed over the window; without an active theme (classic mode,
// or Wine without a theme) the glow is composed from copies of the text.
#include <windows.h>
#include <uxtheme.h>

#include <algorithm>
#include <cstring>

#include "runtime/bind_import.h"
#include "runtime/win32/system_win32.h"
#include "toolkit/draw.h"
#include "toolkit/gdiplus/gdiplus_graphics.h"
#include "toolkit/win32/top_down_dib.h"

namespace qh::gdiplus {
namespace {

using DrawThemeTextExFn = HRESULT(WINAPI*)(HTHEME, HDC, int, int, LPCWSTR, int, DWORD, LPRECT, const DTTOPTS*);

// Draws the glowing text into a premultiplied bitmap of the given size;
// false when the theme cannot draw it.
bool ThemeGlow(const Text& text, const UiFont& font, Argb color, int width, int height, int glowSize,
               Bitmap& out) {
    HTHEME theme = OpenThemeData(nullptr, L"WINDOW");
    if (!theme) return false;
    const BindResult bound = TryBindImport("uxtheme.dll", "DrawThemeTextEx");
    bool drawn = false;
    BITMAPINFO info = win32::TopDownDibInfo(width, height);
    HDC dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP dib = dc ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    if (bound.address && dib) {
        HGDIOBJ oldBitmap = SelectObject(dc, dib);
        HFONT hfont = CreateFontW(-static_cast<int>(font.size), 0, 0, 0, (font.style & kBold) ? FW_BOLD : FW_NORMAL,
                                  (font.style & kItalic) ? TRUE : FALSE, (font.style & kUnderline) ? TRUE : FALSE,
                                  (font.style & kStrikeout) ? TRUE : FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, GbkToWide(font.face).c_str());
        HGDIOBJ oldFont = SelectObject(dc, hfont);
        DTTOPTS options{};
        options.dwSize = sizeof options;
        options.dwFlags = DTT_COMPOSITED | DTT_GLOWSIZE | DTT_TEXTCOLOR;
        options.crText = RGB(RedOf(color), GreenOf(color), BlueOf(color));
        options.iGlowSize = glowSize;
        RECT area{0, 0, width, height};
        const std::wstring wide = GbkToWide(text);
        const auto draw = reinterpret_cast<DrawThemeTextExFn>(bound.address);
        drawn = SUCCEEDED(draw(theme, dc, 0, 0, wide.c_str(), -1, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX,
                               &area, &options));
        GdiFlush();
        // A theme engine that reports success but leaves every pixel
        // transparent (Wine's composited text does) has drawn nothing the
        // user could see: the caller then composes the glow itself.
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        drawn = drawn && std::any_of(pixels, pixels + count, [](std::uint32_t p) { return (p >> 24) != 0; });
        if (drawn) {
            Bitmap result(width, height);
            std::memcpy(result.Data(), bits, count * 4);
            out = std::move(result);
        }
        SelectObject(dc, oldFont);
        DeleteObject(hfont);
        SelectObject(dc, oldBitmap);
    }
    if (dib) DeleteObject(dib);
    if (dc) DeleteDC(dc);
    CloseThemeData(theme);
    return drawn;
}

}  // namespace

void GdiplusGraphics::DrawGlowString(const Text& text, const UiFont& font, Argb color, const RectF& r,
                                     int glowSize) {
    // The theme draws in device pixels: at the device size, so that the
    // bitmap lands on the window 1:1.
    const int width = static_cast<int>(r.width * scale_);
    const int height = static_cast<int>(r.height * scale_);
    UiFont deviceFont = font;
    deviceFont.size *= scale_;
    const int deviceGlow = static_cast<int>(glowSize * scale_ + 0.5f);
    Bitmap glow;
    if (width > 0 && height > 0 && ThemeGlow(text, deviceFont, color, width, height, deviceGlow, glow)) {
        DrawImage(glow, r, RectF{0, 0, static_cast<float>(width), static_cast<float>(height)}, 255);
        return;
    }
    DrawGlowTextByOffsets(*this, text, font, color, r, glowSize);
}

}  // namespace qh::gdiplus
