// The window's system menu as the toolkit draws it where the host has no
// menu of its own (X11, headless): a small popup inside the window with the
// commands restore, minimize, maximize and close, each available as the
// window's flags and state allow. The window opens it from its menu owner
// (the caption icon), routes the mouse and keys to it while it is open, and
// posts the chosen command to itself as WM_SYSCOMMAND, as the system's menu
// does. This class holds the items, their layout and their look.
#pragma once

#include <vector>

#include "runtime/text.h"
#include "toolkit/geometry.h"
#include "toolkit/graphics.h"
#include "toolkit/host.h"

namespace qh {

struct SystemMenuItem {
    int command = 0;  // a system command (msg::kSc...); 0 for a separator
    Text text;
    Text shortcut;
    bool enabled = true;
};

class SystemMenu {
public:
    // The items of a window's menu: restore only while it is maximized,
    // minimize and maximize as its flags allow, close always.
    static std::vector<SystemMenuItem> ItemsFor(int flags, bool maximized);
    // The commands of the items, for a host that shows its own menu.
    static std::vector<SystemMenuCommand> CommandsOf(const std::vector<SystemMenuItem>& items);

    // Opens the menu with its top left corner at (x, y), moved so that it
    // stays inside a window of width x height (above the point when there is
    // no room below). g measures the texts.
    void Open(std::vector<SystemMenuItem> items, float x, float y, float width, float height, Graphics& g,
              const UiFont& font);
    void Close();
    bool IsOpen() const { return open_; }
    // The panel with its shadow: what must be repainted when it changes.
    RectF Bounds() const { return bounds_; }
    bool Contains(float x, float y) const { return open_ && panel_.Contains(x, y); }
    const std::vector<SystemMenuItem>& Items() const { return items_; }
    // The 1-based item the mouse or the keys point at, or 0.
    int HotItem() const { return open_ ? hot_ : 0; }
    // The 1-based item at a point, or 0 (separators count as none).
    int ItemAt(float x, float y) const;
    RectF ItemBounds(int item) const;
    // Points at the item under (x, y); true when that changed the hot item.
    bool Track(float x, float y);
    // Moves the hot item to the next (step 1) or previous (-1) enabled item,
    // wrapping; from none, Down takes the first and Up the last.
    void Step(int step);
    // The command of an item when it is enabled, else 0.
    int CommandOf(int item) const;

    void Paint(Graphics& g) const;

private:
    std::vector<SystemMenuItem> items_;
    std::vector<RectF> rows_;
    UiFont font_;
    RectF panel_, bounds_;
    bool open_ = false;
    int hot_ = 0;
};

}  // namespace qh
