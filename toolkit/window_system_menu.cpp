// The window's system menu: opened by a right-click on the menu owner (the
// caption icon). Where the host has a menu of its own (Win32) the host shows
// it; elsewhere the window draws one and, while it is open, gives it the
// mouse and the keys. A chosen command is posted to the window as
// WM_SYSCOMMAND either way, so the window carries it out as the system's
// default handling does (close, minimize, maximize, restore).
#include "toolkit/caption_icon.h"
#include "toolkit/messages.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace qh {

void UiWindow::OpenSystemMenu(int x, int y) {
    Host& host = TheHost();
    // The press that opened the menu is over: the icon lets go of the mouse.
    if (const int owner = MenuOwner(); owner != 0 && Pressed() == owner) {
        pressedId_ = 0;
        hoverId_ = 0;
        host.ReleaseCapture(hwnd_);
        RepaintControl(owner, kStateNormal);
    }
    std::vector<SystemMenuItem> items = SystemMenu::ItemsFor(flags_, host.IsMaximized(hwnd_));
    // A little below and right of the pointer, as the system places it.
    const RectI r = host.WindowRect(hwnd_);
    if (host.TrackSystemMenu(hwnd_, r.left + x + 5, r.top + y + 10, SystemMenu::CommandsOf(items))) return;
    if (!backGraphics_) return;
    systemMenu_.Open(std::move(items), static_cast<float>(x + 5), static_cast<float>(y + 10),
                     static_cast<float>(clientWidth_), static_cast<float>(clientHeight_), *backGraphics_,
                     Toolkit().defaultFont);
    RepaintArea(systemMenu_.Bounds(), true);
}

void UiWindow::CloseSystemMenu() {
    if (!systemMenu_.IsOpen()) return;
    const RectF area = systemMenu_.Bounds();
    systemMenu_.Close();
    RepaintArea(area, true);
}

void UiWindow::RouteMenuMouse(int message, int x, int y) {
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    switch (message) {
    case msg::kMouseMove:
        if (systemMenu_.Track(fx, fy)) RepaintArea(systemMenu_.Bounds(), true);
        return;
    case msg::kLButtonDown:
    case msg::kRButtonDown:
        // A press outside closes the menu and goes no further, as with the
        // system's menus; a press inside waits for its release.
        if (!systemMenu_.Contains(fx, fy)) CloseSystemMenu();
        return;
    case msg::kLButtonUp: {
        const int command = systemMenu_.CommandOf(systemMenu_.ItemAt(fx, fy));
        if (command == 0) return;  // a separator or an item not available now
        CloseSystemMenu();
        TheHost().PostMessage(hwnd_, msg::kSysCommand, command, 0);
        return;
    }
    default:
        return;
    }
}

void UiWindow::MenuKeyDown(int vk) {
    switch (vk) {
    case vk::kEscape:
        CloseSystemMenu();
        return;
    case vk::kUp:
    case vk::kDown:
        systemMenu_.Step(vk == vk::kUp ? -1 : 1);
        RepaintArea(systemMenu_.Bounds(), true);
        return;
    case vk::kEnter:
    case vk::kSpace: {
        const int command = systemMenu_.CommandOf(systemMenu_.HotItem());
        CloseSystemMenu();
        if (command != 0) TheHost().PostMessage(hwnd_, msg::kSysCommand, command, 0);
        return;
    }
    default:
        return;
    }
}

}  // namespace qh
