// The description of a 32-bit, top-down device-independent bitmap: rows from
// the top, four bytes a pixel, as the toolkit's own bitmaps lie in memory.
// The Win32 host, the GDI+ backend and their tests make such bitmaps.
#pragma once

#include <windows.h>

namespace qh::win32 {

inline BITMAPINFO TopDownDibInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // negative: top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * static_cast<DWORD>(height) * 4;
    return info;
}

}  // namespace qh::win32
