// The X11 host's ATK objects: what the tree's roles and states are in ATK,
// and AtkText for editable and static text.
// Implements: the role and state tables, AtkText (the text, its length, a
// character or a run of text at an offset, the caret at the end of a
// focused edit) over an edit's value or a label's own text, in UTF-8.
#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

#include "runtime/system.h"
#include "toolkit/x11/x11_accessible_objects.h"

namespace qh::x11::atk {
namespace {

// ATK's role for each AccRole, in the enum's order.
constexpr AtkRole kRoles[] = {
    ATK_ROLE_UNKNOWN,      ATK_ROLE_FRAME,     ATK_ROLE_PUSH_BUTTON, ATK_ROLE_RADIO_BUTTON, ATK_ROLE_CHECK_BOX,
    ATK_ROLE_ENTRY,        ATK_ROLE_COMBO_BOX, ATK_ROLE_LIST,        ATK_ROLE_LIST_ITEM,    ATK_ROLE_LINK,
    ATK_ROLE_IMAGE,        ATK_ROLE_PAGE_TAB,  ATK_ROLE_LABEL,
};
static_assert(std::size(kRoles) == static_cast<std::size_t>(AccRole::kStaticText) + 1);

// States that carry over one to one.
constexpr std::pair<AccState, AtkStateType> kStates[] = {
    {kAccFocused, ATK_STATE_FOCUSED},       {kAccFocusable, ATK_STATE_FOCUSABLE},
    {kAccSelected, ATK_STATE_SELECTED},     {kAccChecked, ATK_STATE_CHECKED},
    {kAccSelectable, ATK_STATE_SELECTABLE}, {kAccExpanded, ATK_STATE_EXPANDED},
    {kAccReadOnly, ATK_STATE_READ_ONLY},
};

// The object's text in UTF-8 now; empty when it is gone.
std::string Utf8Text(AtkText* t) {
    const auto o = Describe(*reinterpret_cast<Node*>(t));
    return o ? System().GbkToUtf8(TextOf(*o)) : std::string();
}

gint CharacterCount(AtkText* t) { return static_cast<gint>(g_utf8_strlen(Utf8Text(t).c_str(), -1)); }

// Characters start to end (-1: to the end), clamped to the text.
gchar* Substring(const std::string& utf8, glong start, glong end) {
    const glong count = g_utf8_strlen(utf8.c_str(), -1);
    if (end < 0 || end > count) end = count;
    start = std::clamp<glong>(start, 0, end);
    return g_utf8_substring(utf8.c_str(), start, end);
}

gchar* GetText(AtkText* t, gint start, gint end) { return Substring(Utf8Text(t), start, end); }

gunichar CharacterAt(AtkText* t, gint offset) {
    const std::string utf8 = Utf8Text(t);
    if (offset < 0 || offset >= g_utf8_strlen(utf8.c_str(), -1)) return 0;
    return g_utf8_get_char(g_utf8_offset_to_pointer(utf8.c_str(), offset));
}

// A character at the offset; for the larger units the whole text, which is
// one line in an edit and what a reader speaks at once in a label.
gchar* StringAt(AtkText* t, gint offset, AtkTextGranularity granularity, gint* start, gint* end) {
    const std::string utf8 = Utf8Text(t);
    const gint count = static_cast<gint>(g_utf8_strlen(utf8.c_str(), -1));
    if (granularity == ATK_TEXT_GRANULARITY_CHAR) {
        *start = std::clamp(offset, 0, count);
        *end = std::min(*start + 1, count);
    } else {
        *start = 0;
        *end = count;
    }
    return Substring(utf8, *start, *end);
}

// Edits put the caret after their text when they take the focus.
gint CaretOffset(AtkText* t) {
    const auto o = Describe(*reinterpret_cast<Node*>(t));
    if (!o || o->role != AccRole::kEditableText || (o->states & kAccFocused) == 0) return -1;
    return CharacterCount(t);
}

}  // namespace

AtkRole RoleOf(AccRole role) {
    const auto i = static_cast<std::size_t>(role);
    return i < std::size(kRoles) ? kRoles[i] : ATK_ROLE_UNKNOWN;
}

bool HasText(AccRole role) { return role == AccRole::kEditableText || role == AccRole::kStaticText; }

Text TextOf(const AccessibleObject& o) { return o.role == AccRole::kEditableText ? o.value : o.name; }

AtkStateSet* StatesOf(const AccessibleObject& o, bool windowShown) {
    AtkStateSet* set = atk_state_set_new();
    for (const auto& [bit, state] : kStates) {
        if ((o.states & bit) != 0) atk_state_set_add_state(set, state);
    }
    if ((o.states & kAccUnavailable) == 0) {
        atk_state_set_add_state(set, ATK_STATE_SENSITIVE);
        atk_state_set_add_state(set, ATK_STATE_ENABLED);
    }
    if ((o.states & kAccInvisible) == 0) {
        atk_state_set_add_state(set, ATK_STATE_VISIBLE);
        if (windowShown) atk_state_set_add_state(set, ATK_STATE_SHOWING);
    }
    if (o.role == AccRole::kEditableText) {
        if ((o.states & kAccReadOnly) == 0) atk_state_set_add_state(set, ATK_STATE_EDITABLE);
        atk_state_set_add_state(set, ATK_STATE_SINGLE_LINE);
    }
    if (o.role == AccRole::kComboBox) atk_state_set_add_state(set, ATK_STATE_EXPANDABLE);
    // The active window is the one a reader follows.
    if (o.role == AccRole::kWindow && (o.states & kAccFocused) != 0) atk_state_set_add_state(set, ATK_STATE_ACTIVE);
    return set;
}

void InitTextInterface(AtkTextIface* iface) {
    iface->get_text = GetText;
    iface->get_character_count = CharacterCount;
    iface->get_character_at_offset = CharacterAt;
    iface->get_string_at_offset = StringAt;
    iface->get_caret_offset = CaretOffset;
}

}  // namespace qh::x11::atk
