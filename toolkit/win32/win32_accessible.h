// The MSAA face of the Win32 host's windows.
// Implements: the IAccessible objects a toolkit window hands out for
// WM_GETOBJECT(OBJID_CLIENT) (win32_accessible.cpp): the window's client
// area with one simple child per visible control, named by the control's
// id, and a list view as an object of its own whose children are its rows
// 1..n; and the mapping of the portable tree's roles, states and texts to
// MSAA's (win32_accessible_map.cpp). Screen readers on Windows 10/11 read
// these through the UI Automation MSAA proxy.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include "toolkit/accessible.h"

// Interface ids are taken with __uuidof: liboleacc and libuuid both define
// IID_IAccessible, and a program linking both would not link.

namespace qh {
class UiWindow;
}

namespace qh::win32 {

// Posted to a window to carry out a reader's default action once its call
// has returned (a button may open a modal box, which would otherwise hold
// the reader's call until the box closed): wParam the control's id, lParam
// the list row, 0 for the control itself.
constexpr UINT kAccessibleActionMessage = WM_APP + 0x3A8;

// A new object for the client area of a toolkit window (control 0) or for
// one of its list views (control: the list's id), with one reference. It
// keeps only the handle and the id and finds the window again on every
// call, so that it outlives the window safely: then every call answers
// CO_E_OBJNOTCONNECTED.
IAccessible* NewAccessible(HWND hwnd, int control = 0);

// The toolkit window of a handle, or null when there is none (any more).
UiWindow* FindUiWindow(HWND hwnd);

// MSAA's role for a role of the tree; the window's client area is
// ROLE_SYSTEM_CLIENT.
long MsaaRole(AccRole role);
// MSAA's state bits for an object's states; a closed combo box is
// STATE_SYSTEM_COLLAPSED.
long MsaaStates(const AccessibleObject& object);
// A GBK text as a new UTF-16 BSTR (the caller frees it).
BSTR ToBstr(const Text& text);

}  // namespace qh::win32
