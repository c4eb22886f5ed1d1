// What the Win32 host keeps for each window. Included only by the host's
// own sources.
#pragma once

#include <windows.h>
// The host's method names are also the names of Win32 macros.
#undef PostMessage

#include "toolkit/bitmap.h"
#include "toolkit/host.h"

namespace qh::win32 {

class Win32Host;

// A private message that carries a call from another thread; lParam points
// at the std::function to run.
constexpr UINT kRunCallMessage = WM_APP + 0x3A7;
constexpr wchar_t kWindowProperty[] = L"addr_wnd";

struct HostWindowState {
    Win32Host* host = nullptr;
    HWND hwnd = nullptr;
    WindowClient* client = nullptr;  // the toolkit's window, once attached
    WNDPROC previous = nullptr;      // the procedure replaced by subclassing
    int cursor = kCursorArrow;
    bool trackingLeave = false;

    // Presentation: a top-down 32-bit DIB section of the window's size.
    HDC memoryDc = nullptr;
    HBITMAP dib = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    std::uint32_t* dibBits = nullptr;
    int dibWidth = 0;
    int dibHeight = 0;
    Bitmap screen;  // the last presented image

    HWND tooltip = nullptr;

    ~HostWindowState();
    void FreePresentation();
};

}  // namespace qh::win32
