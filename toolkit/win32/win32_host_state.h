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
    // Whether a reader has asked for the window's accessible object.
    bool accessibilityAsked = false;
    float scale = 1.0f;  // device pixels per logical pixel: the window's DPI ÷ 96

    // Presentation: a top-down 32-bit DIB section of the window's size.
    HDC memoryDc = nullptr;
    HBITMAP dib = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    std::uint32_t* dibBits = nullptr;
    int dibWidth = 0;
    int dibHeight = 0;
    Bitmap screen;  // the last presented image

    HWND tooltip = nullptr;
    // The first half of a surrogate pair, until the second one arrives.
    wchar_t pendingSurrogate = 0;

    ~HostWindowState();
    void FreePresentation();
};

// Display scale (win32_host_dpi.cpp): the system's (the primary monitor's
// at start-up) and a window's.
float SystemScale();
float WindowScale(HWND hwnd);
// A message's lParam in logical pixels: mouse positions and WM_SIZE.
LPARAM LogicalMessageLParam(const HostWindowState& s, UINT message, LPARAM lParam);
// The sizes and positions of a WM_GETMINMAXINFO from one scale to another.
void ScaleMinMaxInfo(MINMAXINFO& info, float from, float to);
// WM_DPICHANGED: redraws at the new scale and takes the suggested rectangle.
LRESULT DpiChanged(HostWindowState& s, WPARAM wParam, LPARAM lParam);

// Accessibility (win32_host_accessible.cpp): WM_GETOBJECT for the client
// area answered with the window's IAccessible object (false for other
// objects, which the system answers), and a reader's default action,
// posted as kAccessibleActionMessage, carried out.
bool AnswerGetObject(HostWindowState& s, WPARAM wParam, LPARAM lParam, LRESULT& result);
void RunAccessibleAction(HostWindowState& s, WPARAM wParam, LPARAM lParam);

// Delivers a character message (WM_CHAR, WM_IME_CHAR, WM_UNICHAR) to the
// window's client as GBK bytes, one WM_CHAR each, lead byte first; false for
// other messages and for those that pass unchanged (ASCII, the toolkit's own
// marked edit keys, a window without a client).
bool DeliverCharacter(HostWindowState& s, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace qh::win32
