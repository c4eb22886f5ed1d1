// The control model shared by every control kind: binding to a window, ids,
// bounds, visibility, enabled state, z-order, tooltips, message hooks. A kind
// derives from UiControl and paints and reacts in its ControlProc.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "runtime/text.h"
#include "toolkit/accessible.h"
#include "toolkit/geometry.h"
#include "toolkit/host.h"
#include "toolkit/toolkit.h"

namespace qh {

class UiWindow;
class Graphics;
struct ControlRecord;

// Kind codes, also the last argument of control events.
enum ControlKind : int {
    kKindSystemButton = 1,
    kKindButton = 2,
    kKindLabel = 3,
    kKindPicture = 4,
    kKindLink = 5,
    kKindDrawerBar = 6,
    kKindTabButton = 7,
    kKindListView = 8,
    kKindEdit = 9,
    kKindRadioOrCheck = 11,
    kKindTabStrip = 13,
    kKindComboBox = 15,
    kKindTipPanel = 1025,
    kKindSideButton = 1029,
};

// Visual states passed with the paint message.
enum PaintState : int { kStateFocused = -1, kStateNormal = 0, kStateHover = 1, kStatePressed = 2, kStateFocusedQuiet = 3 };

// A typed callback of new code: the control was clicked.
using ClickHandler = std::function<void()>;

// (window index, control index, wParam, lParam, force)
using ControlHook = std::function<void(int, int, std::intptr_t, std::intptr_t, bool)>;

// What a kind asks of its window's input and paint code. The window reads
// these instead of testing kinds, so a new kind needs no change there.
struct ControlTraits {
    // Lies above every other control, is painted last, never takes the
    // focus and is skipped by Tab (the caption buttons).
    bool captionLayer = false;
    // Navigation and clipboard keys (Home, End, Left, Right, Delete,
    // Ctrl+A/C/V/X) arrive as characters marked kEditKeyMark.
    bool editKeys = false;
    // Ctrl+Tab is the kind's own key (a tab strip), not focus movement.
    bool ownsCtrlTab = false;
    // A press on the window's background takes the focus away (an open
    // combo box closes).
    bool blursOnBackgroundPress = false;
    // Enter and Space do not click it (an edit takes them as typing).
    bool noKeyboardClick = false;
    // Has no focused look of its own: the window rings it while the user
    // works with the keyboard.
    bool focusRing = false;
    // What screen readers are told it is, and where its name comes from.
    AccRole role = AccRole::kNone;
    AccNameFrom nameFrom = AccNameFrom::kOwnText;
};

// What a script (the UI driver) can read of a control: its text, and the
// states a user sees. Each kind fills in what it has.
struct ControlSnapshot {
    Text text;  // a label's, edit's, button's, link's, tab's or tip's text; a combo box's chosen item
    int checked = 0;    // a check box or radio button that is checked, a drawer bar or combo list that is open
    int selected = 0;   // a selected tab or side button
    int selection = 0;  // a combo box's item or a list view's row, 1-based; 0 none
    std::vector<std::vector<Text>> rows;  // a list view's cells
};

class UiControl {
public:
    UiControl() = default;
    virtual ~UiControl();
    UiControl(const UiControl&) = delete;
    UiControl& operator=(const UiControl&) = delete;

    // Binds the control to the window of hwnd; does nothing when it already
    // has an id or the window has no record.
    void CreateBase(HostHandle hwnd, const RectF& bounds, int kind, bool visible, bool tabStop,
                    int cursor = kCursorArrow, bool cursorGiven = false);
    int WindowIndex() const { return windowIndex_; }
    RectF Bounds() const { return bounds_; }
    int Id() const { return id_; }
    int Disabled(int value = 0, bool set = false);
    int Left(int value = 0, bool set = false);
    int Top(int value = 0, bool set = false);
    int Width(int value = 0, bool set = false);
    int Height(int value = 0, bool set = false);
    int Visible(int value = 0, bool set = false);
    void Move(std::optional<float> left, std::optional<float> top, std::optional<float> width,
              std::optional<float> height, bool redraw = true);
    void Redraw();
    void SetZOrder(int position = 1, bool positionGiven = false);
    Text ToolTip(const Text& text = Text(), bool set = false, bool showNow = false);
    bool IsFocused();
    int TabStop(int value = 0, bool set = false);
    bool Destroy();
    int Cursor(int value = 0, bool set = false);
    Text UserText(const Text& text = Text(), bool set = false);
    // The name scripts know the control by ("TopTabs[5]", "CaptionClose"):
    // the names of the program's documents. Empty when it has none.
    Text Name(const Text& name = Text(), bool set = false);
    // The name screen readers say for the control, where its text or row
    // caption does not tell what it does (an image link); a picture's
    // tooltip, when it has one, still comes first. Empty: the kind's own
    // source.
    void SetAccessibleName(const Text& name) { accessibleName_ = name; }
    const Text& AccessibleName() const { return accessibleName_; }
    // The text and states of the control, for scripts.
    virtual ControlSnapshot Snapshot() const;
    // The control's text as lines, each with the height (window coordinates)
    // of its middle: a multi-line label's lines where it draws them, else
    // the whole text at the middle of the bounds. Screen readers name an
    // edit by the caption line level with it.
    virtual std::vector<std::pair<float, Text>> ShownLines(UiWindow& window) const;
    // A control with items (a list view's rows): where the item is drawn,
    // empty when scrolled out of view; and picking it as the user does.
    virtual RectF AccessibleItemBounds(int /*item*/) const { return RectF{}; }
    // The texts a reader says for an item: the cells the user sees.
    virtual std::vector<Text> AccessibleItemCells(int item) const;
    virtual bool PickAccessibleItem(UiWindow& /*window*/, int /*item*/) { return false; }
    // Tab passes over the control although it takes the focus (a radio
    // button of a group whose checked button Tab stops at instead).
    virtual bool PassedByTab(UiWindow& /*window*/) const { return false; }
    bool IsBound() const { return windowIndex_ > 0 && id_ > 0; }
    int DrawEnabled(int value = 0, bool set = false);
    void SuspendDraw();
    void ResumeDraw();
    void HookMessage(int message, ControlHook handler);
    void ShowToolTip(const Text& text);
    // The value passed to event handlers with this control (attribute 8).
    int UserValue(int value = 0, bool set = false);
    // Marks a control that takes no mouse press or keyboard focus (attribute 1).
    int NoMouse(int value = 0, bool set = false);

    // Typed callbacks and named properties, for windows that do not route
    // events through one handler comparing ids. OnClick runs after the
    // window's control-event handler, for a click by mouse or keyboard on an
    // enabled control.
    void OnClick(ClickHandler handler) { onClick_ = std::move(handler); }
    void SetEnabled(bool enabled) { Disabled(enabled ? 0 : 1, true); }
    bool IsEnabled() { return Disabled() == 0; }

    // The kind's message procedure: paint (15, lParam = state), destroy (2),
    // keys, timer, mouse, click (444660), hidden / shown (444662 / 444663).
    // This one hands the messages every kind shares to the typed handlers
    // below; a kind overrides it only for messages of its own, and passes
    // the rest on here.
    virtual std::intptr_t ControlProc(UiWindow& window, int message, std::intptr_t wParam,
                                      std::intptr_t lParam);
    virtual ControlTraits Traits() const { return {}; }

    // The window the control lives in, or null when unbound or stale.
    UiWindow* Window() const;

protected:
    // Typed handlers. Every kind paints itself in a visual state (PaintState)
    // into the window's back buffer, within its bounds. The others answer
    // whether the control acted on the event; a kind overrides those it
    // uses.
    virtual void Paint(UiWindow& window, Graphics& g, int state) = 0;
    // A key went down while the control has the focus (virtual-key code).
    virtual bool KeyDown(UiWindow& window, int vk);
    // A character, or a navigation key marked as one (editKey).
    virtual bool Character(UiWindow& window, int ch, bool editKey);
    // The control was clicked, with the mouse or the keyboard.
    virtual bool Click(UiWindow& window);
    // The control's timer ticked.
    virtual bool Tick(UiWindow& window);
    // A mouse message at (x, y) in window coordinates: press, release, move,
    // double click.
    virtual bool Mouse(UiWindow& window, int message, int x, int y);
    // The wheel turned over the control; delta is +120 per notch away from
    // the user.
    virtual bool Wheel(UiWindow& window, int delta);

    int disabled_ = 0;
    Text toolTipText_;
    int cursor_ = kCursorArrow;
    int drawEnabled_ = 0;
    Text userText_;
    Text name_;
    Text accessibleName_;

    // Runs op on the window's thread (posted and waited for when called from
    // another thread); the default value when the window is gone. Every
    // operation of a kind that reads or changes its state goes through it,
    // as the shared operations do, so worker threads may call them.
    template <class R, class F>
    R OnWindowThread(R fallback, F op) const;

private:
    friend class UiWindow;
    // The handle of the window the control is bound to, or 0; safe to call
    // from any thread.
    HostHandle BoundHandle() const;
    // This control's record in its window's list, or null.
    ControlRecord* OwnRecord() const;

    int windowIndex_ = 0;
    int id_ = 0;
    RectF bounds_;
    ClickHandler onClick_;
};

template <class R, class F>
R UiControl::OnWindowThread(R fallback, F op) const {
    const HostHandle h = BoundHandle();
    // An unbound control has no window and no thread to defer to: its
    // operations only touch the object itself.
    if (h == 0) return op();
    Host& host = TheHost();
    if (host.OnWindowThread(h)) return op();
    // Posted and waited for. When the window goes away first the call does
    // not run and the caller gets the empty value.
    R result = fallback;
    host.RunOnWindowThread(h, [&] { result = op(); });
    return result;
}

}  // namespace qh
