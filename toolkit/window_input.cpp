// Mouse and keyboard routing of a window: hover, press with capture, clicks,
// focus and Tab order.
#include "toolkit/messages.h"
#include "toolkit/toolkit.h"
#include "toolkit/window.h"

namespace qh {

namespace {
// Keys that move about the window: the user works it with the keyboard.
bool IsNavigationKey(int vk) {
    return vk == vk::kTab || vk == vk::kLeft || vk == vk::kUp || vk == vk::kRight || vk == vk::kDown;
}
bool IsPress(int message) { return message == msg::kLButtonDown || message == msg::kRButtonDown; }
bool IsRelease(int message) { return message == msg::kLButtonUp || message == msg::kRButtonUp; }
}  // namespace

void UiWindow::CallControlHandler(const ControlHandler& h, int index) {
    ControlRecord* rec = Record(index);
    if (h && rec != nullptr) h(hwnd_, rec->id, rec->userValue, rec->kind);
}

void UiWindow::ClickControl(int index) {
    const int id = IdAt(index);
    SendControlMessage(index, msg::kClick, 0, 0, false);
    CallControlHandler(onEvent_, index);
    // The window's handler may have destroyed the control or others before
    // it: look it up again by id.
    const ControlRecord* rec = Record(IndexOfId(id));
    if (rec == nullptr || rec->object == nullptr || rec->object->disabled_ != 0 || !rec->object->onClick_) return;
    const ClickHandler handler = rec->object->onClick_;  // the handler may replace itself
    handler();
}

void UiWindow::Blur(int index) {
    if (Record(index) == nullptr) return;
    RepaintControl(index, kStatePressed);
    CallControlHandler(onBlur_, index);
}

void UiWindow::SetFocused(int index, bool byKeyboard) {
    keyboardFocusMark_ = byKeyboard;
    if (Focused() != index && Focused() != 0) {
        int old = Focused();
        focusedId_ = IdAt(index);
        Blur(old);
    }
    focusedId_ = IdAt(index);
    if (byKeyboard) RepaintControl(index, kStateFocused);
    CallControlHandler(onFocus_, index);
    TheHost().SetFocus(hwnd_);
}

void UiWindow::RouteMouse(int message, std::intptr_t wParam, std::intptr_t lParam) {
    if (fading_) return;
    const std::int32_t lp = static_cast<std::int32_t>(lParam);
    const int x = LoWordSigned(lp), y = HiWordSigned(lp);
    Host& host = TheHost();
    if (systemMenu_.IsOpen()) {
        RouteMenuMouse(message, x, y);
        return;
    }

    if (Pressed() != 0) {
        const int p = Pressed();
        SendControlMessage(p, message, wParam, lParam, true);
        if (message == msg::kMouseMove) {
            // The pressed control looks pressed only while the mouse is over it.
            int over = HitTest(x, y) == p ? p : 0;
            if (over != Hover()) {
                hoverId_ = IdAt(over);
                RepaintControl(p, over ? kStatePressed : kStateNormal);
            }
            return;
        }
        if (!IsRelease(message)) return;
        host.ReleaseCapture(hwnd_);
        pressedId_ = 0;
        hoverId_ = 0;
        if (message == msg::kLButtonUp) CallControlHandler(onMouseUp_, p);
        else CallControlHandler(onRightUp_, p);
        if (message == msg::kLButtonUp && HitTest(x, y) == p) ClickControl(p);
        RepaintControl(p, HitTest(x, y) == p ? kStateHover : kStateNormal);
        return;
    }

    int hit = HitTest(x, y);
    if (hit != Hover() && Record(Hover()) != nullptr) {
        int old = Hover();
        hoverId_ = 0;
        RepaintControl(old, kStateNormal);
        CallControlHandler(onMouseLeave_, old);
    }
    if (hit == 0) {
        hoverId_ = 0;
        host.ShowTooltip(hwnd_, Text());
        if (IsPress(message)) {
            ShowKeyboardCues(false);
            host.SetFocus(hwnd_);
            if (ControlRecord* f = Record(Focused()); f != nullptr && f->traits.blursOnBackgroundPress) {
                int old = Focused();
                focusedId_ = 0;
                Blur(old);
            }
            if (message == msg::kLButtonDown && wParam == msg::kDoubleClickMark && y < 25 &&
                (flags_ & kFlagMaximize)) {
                host.SetMaximized(hwnd_, !host.IsMaximized(hwnd_));
            } else if (message == msg::kLButtonDown) {
                host.BeginMove(hwnd_);
            }
        }
        return;
    }

    ControlRecord* rec = Record(hit);
    const bool enteredNow = hit != Hover();
    if (message == msg::kRButtonDown && hit == MenuOwner()) {
        // The system menu first, then the application hears of the press.
        OpenSystemMenu(x, y);
        CallControlHandler(onRightDown_, IndexOfId(rec->id));
        return;
    }
    if (IsPress(message)) {
        ShowKeyboardCues(false);
        if (!rec->noMouse && rec->object->disabled_ == 0) {
            keyboardFocusMark_ = false;
            pressedId_ = IdAt(hit);
            hoverId_ = IdAt(hit);
            host.SetCapture(hwnd_);
            if (!rec->traits.captionLayer) SetFocused(hit, false);
            if (message == msg::kRButtonDown) {
                CallControlHandler(onRightDown_, hit);
            } else if (wParam == msg::kDoubleClickMark) {
                SendControlMessage(hit, msg::kLButtonDblClk, 0, lParam, true);
                CallControlHandler(onDoubleClick_, hit);
            } else {
                CallControlHandler(onMouseDown_, hit);
            }
            // The control's handlers may have moved it in the list (a combo
            // box raises itself): look it up again by id.
            const int pressedId = pressedId_;
            SendControlMessage(hit, message, wParam, lParam, true);
            RepaintControl(IndexOfId(pressedId), kStatePressed);
            return;
        }
        if (message == msg::kLButtonDown) host.BeginMove(hwnd_);
        return;
    }
    const int hitId = rec->id;
    SendControlMessage(hit, message, wParam, lParam, true);
    hit = IndexOfId(hitId);
    rec = Record(hit);
    if (rec == nullptr) return;
    if (rec->cursor != 0 && rec->cursor != kCursorArrow) host.SetCursor(hwnd_, rec->cursor);
    else host.SetCursor(hwnd_, kCursorArrow);
    hoverId_ = IdAt(hit);
    if (enteredNow && message == msg::kMouseMove) {
        if (rec->object->disabled_ == 0) RepaintControl(hit, kStateHover);
        CallControlHandler(onMouseEnter_, hit);
        host.ShowTooltip(hwnd_, rec->object->toolTipText_);
    }
}

void UiWindow::Wheel(std::intptr_t wParam, std::intptr_t lParam) {
    if (fading_ || systemMenu_.IsOpen()) return;
    // The wheel reports the pointer in screen coordinates.
    const std::int32_t lp = static_cast<std::int32_t>(lParam);
    const RectI r = TheHost().WindowRect(hwnd_);
    const int hit = HitTest(LoWordSigned(lp) - r.left, HiWordSigned(lp) - r.top);
    if (hit != 0) SendControlMessage(hit, msg::kMouseWheel, wParam, lParam, false);
}

void UiWindow::Activate(bool active) {
    if (!active) CloseSystemMenu();
    if (Record(Focused()) == nullptr) return;
    const int index = Focused();
    RepaintControl(index, active ? kStateFocused : kStatePressed);
    CallControlHandler(active ? onFocus_ : onBlur_, index);
}

void UiWindow::KillFocus() {
    // Focus went to another window of this program's own (a native child)
    // while this window stays active: the focused control lets it go, unless
    // it is marked to keep focus.
    CloseSystemMenu();
    ControlRecord* rec = Record(Focused());
    if (rec == nullptr || rec->noMouse || !TheHost().IsActive(hwnd_)) return;
    const int index = Focused();
    focusedId_ = 0;
    RepaintControl(index, kStatePressed);
}

void UiWindow::SysKeyDown(int vk, std::intptr_t lParam) {
    if (systemMenu_.IsOpen()) return;
    // The focused control sees system keys (Alt combinations) first; when it
    // acts on one it answers non-zero and the application hears of it.
    if (Record(Focused()) == nullptr) return;
    const int index = Focused();
    if (SendControlMessage(index, msg::kSysKeyDown, vk, lParam, false) != 0) CallControlHandler(onEvent_, index);
}

bool UiWindow::FocusControl(int id) {
    int index = IndexOfId(id);
    ControlRecord* rec = Record(index);
    if (rec == nullptr || !rec->tabStop || !rec->visible) return false;
    SetFocused(index, true);
    return true;
}

void UiWindow::ActivateControl(int index) {
    ClickControl(index);
    RepaintControl(index, kStateFocused);
}

void UiWindow::ShowKeyboardCues(bool show) {
    if (keyboardCues_ == show) return;
    keyboardCues_ = show;
    if (Record(Focused()) != nullptr) RepaintControl(Focused(), PaintStateOf(Focused()));
}

void UiWindow::KeyDown(int vk, std::intptr_t lParam) {
    // An open menu takes the keys, as the system's menus do.
    if (systemMenu_.IsOpen()) {
        MenuKeyDown(vk);
        return;
    }
    Host& host = TheHost();
    if (IsNavigationKey(vk)) ShowKeyboardCues(true);
    if (onShortcut_ && onShortcut_(ShortcutKey{vk, host.KeyPressed(vk::kControl), host.KeyPressed(vk::kShift)})) return;
    ControlRecord* rec = Record(Focused());
    if (rec == nullptr) return;
    const int index = Focused();
    if (onKeyDown_ && onKeyDown_(hwnd_, rec->id, vk, lParam) != -1) return;
    rec = Record(index);
    if (rec == nullptr) return;
    if (rec->traits.editKeys) {
        // Edit keys reach the edit as characters marked 10086, so the edit
        // handles typing and editing in one place.
        const bool ctrl = host.KeyPressed(vk::kControl);
        const bool ctrlKey = ctrl && (vk == 'A' || vk == 'C' || vk == 'V' || vk == 'X');
        if (ctrlKey || vk == vk::kEnd || vk == vk::kHome || vk == vk::kLeft || vk == vk::kRight ||
            vk == vk::kDelete) {
            SendControlMessage(index, msg::kChar, vk, msg::kEditKeyMark, false);
        }
    } else if (vk == vk::kTab && rec->traits.ownsCtrlTab && host.KeyPressed(vk::kControl)) {
        SendControlMessage(index, msg::kCtrlTab, 0, 0, false);
    } else if ((vk == vk::kEnter || vk == vk::kSpace) && rec->visible && !rec->noMouse) {
        ActivateControl(index);
    }
    SendControlMessage(index, msg::kKeyDown, vk, lParam, false);
}

void UiWindow::MoveFocus(int from, int step) {
    const int n = ControlCount();
    for (int k = 1; k <= n; ++k) {
        // from + k * step, wrapped into 1..n; from 0 backwards starts at n.
        const int i = ((from - 1 + k * step) % n + n) % n + 1;
        const ControlRecord& r = controls_[i - 1];
        if (!r.visible || r.noMouse || !r.tabStop || r.traits.captionLayer) continue;
        if (r.object != nullptr && (r.object->disabled_ != 0 || r.object->PassedByTab(*this))) continue;
        if (i == from) return;
        SetFocused(i, true);
        return;
    }
}

void UiWindow::KeyUp(int vk, std::intptr_t lParam) {
    if (systemMenu_.IsOpen()) return;
    if (vk == vk::kTab && !TheHost().KeyPressed(vk::kControl)) {
        MoveFocus(Focused(), TheHost().KeyPressed(vk::kShift) ? -1 : 1);
        return;
    }
    ControlRecord* rec = Record(Focused());
    if (rec == nullptr) return;
    const int index = Focused();
    if (onKeyUp_ && onKeyUp_(hwnd_, rec->id, vk, lParam) != -1) return;
    SendControlMessage(index, msg::kKeyUp, vk, lParam, false);
}

void UiWindow::Char(int ch, std::intptr_t lParam) {
    if (systemMenu_.IsOpen()) return;
    ControlRecord* rec = Record(Focused());
    if (rec == nullptr) return;
    const int index = Focused();
    if (onChar_ && onChar_(hwnd_, rec->id, ch, lParam) != -1) return;
    SendControlMessage(index, msg::kChar, ch, lParam, false);
}

}  // namespace qh
