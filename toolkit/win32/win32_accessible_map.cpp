// The portable accessibility tree in MSAA's terms: roles, state bits and
// texts, and the toolkit window a handle belongs to.
#include <mutex>
#include <utility>

#include "runtime/win32/system_win32.h"
#include "toolkit/toolkit.h"
#include "toolkit/win32/win32_accessible.h"
#include "toolkit/window.h"

namespace qh::win32 {
namespace {

// Indexed by AccRole; a role with no MSAA counterpart is never exposed.
constexpr long kRoles[] = {
    ROLE_SYSTEM_CLIENT,       // kNone
    ROLE_SYSTEM_CLIENT,       // kWindow: the client area, under the system's window object
    ROLE_SYSTEM_PUSHBUTTON,   // kPushButton
    ROLE_SYSTEM_RADIOBUTTON,  // kRadioButton
    ROLE_SYSTEM_CHECKBUTTON,  // kCheckBox
    ROLE_SYSTEM_TEXT,         // kEditableText
    ROLE_SYSTEM_COMBOBOX,     // kComboBox
    ROLE_SYSTEM_LIST,         // kList
    ROLE_SYSTEM_LISTITEM,     // kListItem
    ROLE_SYSTEM_LINK,         // kLink
    ROLE_SYSTEM_GRAPHIC,      // kGraphic
    ROLE_SYSTEM_PAGETAB,      // kPageTab
    ROLE_SYSTEM_STATICTEXT,   // kStaticText
};
static_assert(std::size(kRoles) == static_cast<std::size_t>(AccRole::kStaticText) + 1);

constexpr std::pair<unsigned, long> kStates[] = {
    {kAccFocused, STATE_SYSTEM_FOCUSED},         {kAccFocusable, STATE_SYSTEM_FOCUSABLE},
    {kAccSelected, STATE_SYSTEM_SELECTED},       {kAccChecked, STATE_SYSTEM_CHECKED},
    {kAccUnavailable, STATE_SYSTEM_UNAVAILABLE}, {kAccInvisible, STATE_SYSTEM_INVISIBLE},
    {kAccReadOnly, STATE_SYSTEM_READONLY},       {kAccSelectable, STATE_SYSTEM_SELECTABLE},
    {kAccExpanded, STATE_SYSTEM_EXPANDED},
};

}  // namespace

long MsaaRole(AccRole role) {
    const auto i = static_cast<std::size_t>(role);
    return i < std::size(kRoles) ? kRoles[i] : ROLE_SYSTEM_CLIENT;
}

long MsaaStates(const AccessibleObject& object) {
    long states = 0;
    for (const auto& [bit, msaa] : kStates) {
        if ((object.states & bit) != 0) states |= msaa;
    }
    // Readers announce a combo box as "collapsed" or "expanded"; the tree
    // marks only the open one.
    if (object.role == AccRole::kComboBox && (object.states & kAccExpanded) == 0) states |= STATE_SYSTEM_COLLAPSED;
    return states;
}

BSTR ToBstr(const Text& text) {
    const std::wstring wide = GbkToWide(text);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

UiWindow* FindUiWindow(HWND hwnd) {
    const auto handle = reinterpret_cast<HostHandle>(hwnd);
    std::lock_guard<std::mutex> lock(Toolkit().bindingMutex);
    for (UiWindow* w : Toolkit().windows) {
        if (w != nullptr && w->Handle() == handle) return w;
    }
    return nullptr;
}

}  // namespace qh::win32
