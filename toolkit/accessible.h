// The accessibility tree of a window, as screen readers see it: the window,
// one object per visible control, and a list view's rows as its items. Each
// object has a role, a name, a value, states, a place on the screen and a
// default action. The tree is read from the controls when asked, never kept:
// the hosts' bridges (MSAA on Windows, ATK on Linux) and `uidriver tree` all
// read it through these functions, so every platform says the same.
#pragma once

#include <optional>
#include <vector>

#include "runtime/text.h"
#include "toolkit/geometry.h"

namespace qh {

class UiWindow;

// What an object is; the bridges map these to MSAA roles and ATK roles.
enum class AccRole : int {
    kNone = 0,  // not shown to screen readers (a separator line, the caption icon)
    kWindow,
    kPushButton,
    kRadioButton,
    kCheckBox,
    kEditableText,
    kComboBox,
    kList,
    kListItem,
    kLink,
    kGraphic,
    kPageTab,
    kStaticText,
};

// Where an object's name comes from, declared by its kind.
enum class AccNameFrom : int {
    kOwnText = 0,  // the control's text (a button's caption)
    kRowCaption,   // the caption standing left of it on its row (an edit's "贷款期限")
    kToolTip,      // its tooltip, else its own text (a picture button)
};

// States, a bit each.
enum AccState : unsigned {
    kAccFocused = 1u << 0,
    kAccFocusable = 1u << 1,
    kAccSelected = 1u << 2,
    kAccChecked = 1u << 3,
    kAccUnavailable = 1u << 4,
    kAccInvisible = 1u << 5,
    kAccReadOnly = 1u << 6,
    kAccSelectable = 1u << 7,
    kAccExpanded = 1u << 8,  // an open combo box
};

// What a change to an object is, as the hosts report it.
enum class AccEvent : int { kFocus, kNameChange, kValueChange, kStateChange, kShow, kHide };

struct AccessibleObject {
    int id = 0;    // the control's id; 0 for the window itself
    int item = 0;  // a list item's 1-based row; 0 for the control itself
    AccRole role = AccRole::kNone;
    Text name;
    Text value;
    unsigned states = 0;
    RectI screen;        // logical screen pixels (the host converts to device pixels)
    Text defaultAction;  // "按下", "选择", or empty
    int itemCount = 0;   // a list's rows
};

// The window itself (role kWindow, named by its title).
AccessibleObject DescribeWindow(UiWindow& window);
// The window's children: its visible controls that have a role, in the
// order Tab visits them (list order).
std::vector<AccessibleObject> AccessibleChildren(UiWindow& window);
// One control (item 0) or one row of a list (item > 0); nullopt when the
// control or row is gone, or has no role.
std::optional<AccessibleObject> DescribeControl(UiWindow& window, int id, int item = 0);
// The control (or list row) at a point on the screen, in logical pixels;
// id 0 for the window's own background, nullopt outside the window.
std::optional<AccessibleObject> AccessibleAt(UiWindow& window, int screenX, int screenY);
// A screen reader's "do it": presses a button, link or tab, ticks a box,
// picks a list row. False when the object is gone or unavailable.
bool DoDefaultAction(UiWindow& window, int id, int item = 0);
// Moves the keyboard focus to a control that takes it; false otherwise.
bool FocusAccessible(UiWindow& window, int id);

// The texts of roles and states as `uidriver tree` prints them.
const char* RoleName(AccRole role);
Text StateNames(unsigned states);

}  // namespace qh
