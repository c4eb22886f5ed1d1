// UiWindow: one top-level window of the toolkit. It owns the window's
// control list, its three buffers (background cache, back buffer, alpha
// buffer), the input state (hover, focus, press with capture) and the event
// handler slots, and is the window procedure its host delivers messages to.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "toolkit/bitmap.h"
#include "toolkit/control.h"
#include "toolkit/graphics.h"
#include "toolkit/host.h"
#include "toolkit/image.h"
#include "toolkit/system_menu.h"

namespace qh {

using MessageHandler = std::function<std::intptr_t(HostHandle, int, std::intptr_t, std::intptr_t)>;
// (hwnd, graphics of the background cache, reserved, width, height)
using PaintHandler = std::function<int(HostHandle, Graphics&, int, int, int)>;
// (hwnd, width, height, reserved)
using ResizeHandler = std::function<int(HostHandle, int, int, int)>;
// (hwnd, control id, user value, kind)
using ControlHandler = std::function<int(HostHandle, int, int, int)>;
// (hwnd, focused control id, key or character, lParam); -1 lets the toolkit go on
using KeyHandler = std::function<int(HostHandle, int, int, std::intptr_t)>;
// A key of the whole window (Ctrl+Tab to the next page, Escape to close),
// whatever has the focus: true when the window acted on it.
struct ShortcutKey {
    int vk = 0;
    bool ctrl = false;
    bool shift = false;
};
using ShortcutHandler = std::function<bool(const ShortcutKey&)>;

// Window flags.
constexpr int kFlagCloseButton = 4;
constexpr int kFlagMaximize = 8;
constexpr int kFlagMinimize = 16;
constexpr int kFlagDerive = 1024;

// One control of a window's list, in z-order (last = on top).
struct ControlRecord {
    UiControl* object = nullptr;
    RectF bounds;
    int id = 0;
    int kind = 0;
    bool visible = true;
    bool tabStop = false;
    int cursor = kCursorArrow;
    bool noMouse = false;          // attribute 1
    int userValue = 0;             // attribute 8
    bool acceptsMessages = true;   // attribute 10
    ControlTraits traits;          // what the kind asks of the window
    std::optional<int> pinnedState;  // see UiWindow::PinControlState
    std::vector<std::pair<int, ControlHook>> hooks;
};

class UiCaptionIcon;

class UiWindow : public WindowClient {
public:
    UiWindow();
    ~UiWindow() override;
    UiWindow(const UiWindow&) = delete;
    UiWindow& operator=(const UiWindow&) = delete;

    // Binds the object to a host window: skin, colour (taken from the skin at
    // 85 % of its size when not given), flags, frame; builds the buffers and
    // the caption buttons. False when the window cannot be bound.
    bool Create(HostHandle hwnd, const Bytes& backgroundImage, Argb backgroundColor = 0,
                bool hasColor = false, int flags = 0, bool fixedSize = false, int frameStyle = 5,
                const std::array<int, 4>* frameRect = nullptr);
    // Window opacity 0-255, or -1 for an opaque window; set before Show.
    void SetAlpha(int alpha) { alpha_ = alpha; }
    // The text drawn in the caption where it differs from the host window's
    // title, which other programs find the window by; empty: the title.
    void SetCaptionText(const Text& text);
    const Text& CaptionText() const { return captionText_; }
    // First display: fades in when fade is 1. Ends HoldPresents.
    void Show(int fade = 1);
    // While held, painting goes to the back buffer only and nothing reaches
    // the screen: a window built before its first Show is presented once,
    // whole, by Show, rather than once for every control created and filled.
    void HoldPresents() { presentsHeld_ = true; }
    // Starts the timer-driven fade (timer 444660): the window's opacity rises
    // by 51 per tick to 255; input and control timers wait until it ends.
    void StartFade(int interval = 0, bool intervalGiven = false);
    bool Fading() const { return fading_; }
    // While a modal box of this window is open, the window takes no mouse
    // or keyboard input (it still paints, and its timers run).
    void SetInputEnabled(bool enabled) { inputEnabled_ = enabled; }
    bool InputEnabled() const { return inputEnabled_; }
    void SetCloseAnimation(int kind) { closeAnimation_ = kind; }
    void SetBackground(const Bytes& image, bool setImage, std::int64_t color, bool setColor, bool redraw = true);
    int FrameStyle(int value = 0, bool set = false);
    // Gives focus to the control of that id when it takes focus and is visible.
    bool FocusControl(int id);
    // Does what Enter does to a focused control: clicks it and shows it
    // focused (a screen reader's default action).
    void ActivateControl(int index);

    void OnMessage(MessageHandler h) { onMessage_ = std::move(h); }
    void OnPaint(PaintHandler h) { onPaint_ = std::move(h); }
    void OnPaintOver(PaintHandler h) { onPaintOver_ = std::move(h); }
    void OnResize(ResizeHandler h) { onResize_ = std::move(h); }
    void OnMouseEnterControl(ControlHandler h) { onMouseEnter_ = std::move(h); }
    void OnMouseLeaveControl(ControlHandler h) { onMouseLeave_ = std::move(h); }
    void OnControlMouseDown(ControlHandler h) { onMouseDown_ = std::move(h); }
    void OnControlMouseUp(ControlHandler h) { onMouseUp_ = std::move(h); }
    void OnControlEvent(ControlHandler h) { onEvent_ = std::move(h); }
    void OnControlDoubleClick(ControlHandler h) { onDoubleClick_ = std::move(h); }
    void OnControlRightDown(ControlHandler h) { onRightDown_ = std::move(h); }
    void OnControlRightUp(ControlHandler h) { onRightUp_ = std::move(h); }
    void OnKeyDown(KeyHandler h) { onKeyDown_ = std::move(h); }
    void OnKeyUp(KeyHandler h) { onKeyUp_ = std::move(h); }
    void OnChar(KeyHandler h) { onChar_ = std::move(h); }
    void OnControlFocus(ControlHandler h) { onFocus_ = std::move(h); }
    void OnControlBlur(ControlHandler h) { onBlur_ = std::move(h); }
    // Runs first for every key that goes down in the window, focused control
    // or not; a key it takes goes no further.
    void OnShortcut(ShortcutHandler h) { onShortcut_ = std::move(h); }
    // Whether the user works the window with the keyboard now: the focused
    // control is ringed. A mouse press ends it.
    bool KeyboardCues() const { return keyboardCues_; }
    // Shows (or puts away) the ring, as for a window the keyboard is moved
    // into by another window's key.
    void ShowKeyboardCues(bool show);

    // Handles a message; when a screen reader is listening, then reports
    // what changed in the window's accessibility tree.
    std::intptr_t HandleMessage(int message, std::intptr_t wParam, std::intptr_t lParam) override;

    HostHandle Handle() const { return hwnd_; }
    int WindowIndex() const { return windowIndex_; }
    // The 1-based indices of the focused, hovered and pressed controls, or 0.
    int FocusedControl() const { return Focused(); }
    int HoverControl() const { return Hover(); }
    int PressedControl() const { return Pressed(); }
    int Alpha() const { return alpha_; }
    Argb BackgroundColor() const { return backgroundColor_; }
    int Flags() const { return flags_; }
    int ClientWidth() const { return clientWidth_; }
    int ClientHeight() const { return clientHeight_; }
    const Bitmap& BackBuffer() const { return back_; }
    Graphics* BackGraphics() { return backGraphics_.get(); }
    // The smallest size the window can be tracked to: what its caption
    // buttons need, or the minimum set, whichever is larger.
    RectI MinTrackSize() const;
    void SetMinimumSize(int width, int height) { minimumSize_ = {width, height}; }

    int ControlCount() const { return static_cast<int>(controls_.size()); }
    // The record of a 1-based control index, or null.
    ControlRecord* Record(int index);
    int IndexOf(const UiControl* control) const;
    int IndexOfId(int id) const;
    // The index of the control a script names, or 0.
    int IndexOfName(const Text& name) const;
    // The topmost visible control containing the point, or 0.
    // Caption buttons lie above every other control.
    int HitTest(int x, int y) const;
    std::intptr_t SendControlMessage(int index, int message, std::intptr_t wParam, std::intptr_t lParam,
                                     bool force);
    // Redraws the rectangle from the background cache and the controls over
    // it; presents it when present is set. Nothing while animating.
    void RepaintArea(const RectF& area, bool present = true);
    // Repaints one control in a given visual state.
    void RepaintControl(int index, int state);
    // Shows a control in one visual state (PaintState) whatever the mouse
    // and the focus do, until nullopt lets it follow them again: a sheet of
    // every look of every kind, side by side, is drawn this way. Repaints it.
    void PinControlState(int index, std::optional<int> state);

    // The caption icon, which opens the system menu on a right-click (its
    // 1-based index, or 0 when the window has none).
    int MenuOwner() const;
    // The system menu the toolkit draws in the window where the host has
    // none of its own; while it is open it takes the mouse and the keys.
    const SystemMenu& DrawnSystemMenu() const { return systemMenu_; }
    bool SystemMenuOpen() const { return systemMenu_.IsOpen(); }

    // Starts a control's timer (id: window index and control index).
    void StartControlTimer(int index, int interval = 0, bool intervalGiven = false);
    void StopControlTimer(int index);

private:
    friend class UiControl;
    int AddControl(UiControl* object, const RectF& bounds, int kind, bool visible, bool tabStop, int cursor);
    void RemoveControl(int index);
    int SmallestFreeId() const;
    // The id of the control at an index, or 0.
    int IdAt(int index) const;
    int Focused() const { return IndexOfId(focusedId_); }
    int Hover() const { return IndexOfId(hoverId_); }
    int Pressed() const { return IndexOfId(pressedId_); }
    int PaintStateOf(int index) const;
    void PaintArea(const RectF& area, int index, int state, bool present);
    // area in device pixels.
    void Present(const RectI& area);
    RectI DeviceArea() const { return RectI{0, 0, back_.Width(), back_.Height()}; }
    void RenderBackground();
    void CreateCaptionButtons();
    void ReleaseResources();
    std::intptr_t Default(int message, std::intptr_t wParam, std::intptr_t lParam);
    void Resize(int width, int height);
    void OnTimer(std::uint32_t id);
    void RunCloseAnimation();
    void PresentFrame(const Bitmap& frame, int alpha);

    // The system menu (window_system_menu.cpp).
    void OpenSystemMenu(int x, int y);
    void CloseSystemMenu();
    void RouteMenuMouse(int message, int x, int y);
    void MenuKeyDown(int vk);

    // Input routing (window_input.cpp).
    void RouteMouse(int message, std::intptr_t wParam, std::intptr_t lParam);
    void Wheel(std::intptr_t wParam, std::intptr_t lParam);
    void Activate(bool active);
    void KillFocus();
    void SysKeyDown(int vk, std::intptr_t lParam);
    void PressControl(int index);
    void KeyDown(int vk, std::intptr_t lParam);
    void KeyUp(int vk, std::intptr_t lParam);
    void Char(int ch, std::intptr_t lParam);
    // Moves the focus to the next control that takes it (step 1) or the
    // previous one (step -1), wrapping.
    void MoveFocus(int from, int step = 1);
    void PaintFocusRing(const RectF& clip);
    std::intptr_t Dispatch(int message, std::intptr_t wParam, std::intptr_t lParam);
    // Compares the accessibility tree with the one last reported and tells
    // the host what changed (window_accessible.cpp).
    void ReportAccessibleChanges();
    void SetFocused(int index, bool byKeyboard);
    void Blur(int index);
    void CallControlHandler(const ControlHandler& h, int index);
    void ClickControl(int index);
    // The decoded skin, decoded again when it was let go.
    const UiImage& BackgroundImage();
    void SetBackgroundImage(const Bytes& image);

    HostHandle hwnd_ = 0;
    int windowIndex_ = 0;
    // The input state names controls by id, not by their place in the list,
    // which changes when a control is destroyed or moved to the top.
    int focusedId_ = 0;
    int hoverId_ = 0;
    int pressedId_ = 0;
    bool keyboardFocusMark_ = false;
    bool keyboardCues_ = false;
    int alpha_ = -1;
    Argb backgroundColor_ = 0;
    Text captionText_;
    // The skin as it came (encoded) and decoded. The decoded pixels are let go
    // once a window's first background is rendered, as a skin is a megabyte or
    // two that only a later re-render needs, and decoded again then; once
    // their handle has been given out (kBackgroundHandle), they stay.
    Bytes backgroundBytes_;
    UiImage backgroundImage_;
    bool backgroundHandleGiven_ = false;
    int frameStyle_ = 5;
    std::array<int, 4> frameRect_{};
    int flags_ = 0;
    int closeAnimation_ = 0;
    int clientWidth_ = 0;
    int clientHeight_ = 0;
    bool fading_ = false;
    bool inputEnabled_ = true;
    int fadeCounter_ = 0;
    bool animating_ = false;
    bool presentsHeld_ = false;
    float scale_ = 1.0f;  // device pixels per logical pixel, from the host
    bool layered_ = true;
    bool mouseTracking_ = false;
    std::vector<std::unique_ptr<UiControl>> captionButtons_;
    std::unique_ptr<UiCaptionIcon> captionIcon_;
    SystemMenu systemMenu_;

    Bitmap cache_;
    Bitmap back_;
    std::unique_ptr<Graphics> cacheGraphics_;
    std::unique_ptr<Graphics> backGraphics_;
    std::vector<ControlRecord> controls_;

    MessageHandler onMessage_;
    PaintHandler onPaint_, onPaintOver_;
    ResizeHandler onResize_;
    std::pair<int, int> minimumSize_{0, 0};
    ControlHandler onMouseEnter_, onMouseLeave_, onMouseDown_, onMouseUp_, onEvent_, onDoubleClick_,
        onRightDown_, onRightUp_, onFocus_, onBlur_;
    KeyHandler onKeyDown_, onKeyUp_, onChar_;
    ShortcutHandler onShortcut_;

    // What screen readers were last told of each control, to report changes.
    struct AccessibleMemo {
        int id = 0;
        Text name, value;
        unsigned states = 0;
    };
    std::vector<AccessibleMemo> accessibleMemo_;
    bool accessibleReported_ = false;
    int dispatchDepth_ = 0;
};

}  // namespace qh
