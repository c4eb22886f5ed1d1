// The IAccessible calls that walk and act on the tree: parent, children and
// their enumeration, focus, selection, location, navigation, hit testing and
// the default action (the object itself: win32_accessible_node.h).
#include <algorithm>

#include "toolkit/scale.h"
#include "toolkit/win32/win32_accessible_node.h"

namespace qh::win32 {
namespace {

float ScaleOf(HWND hwnd) { return TheHost().Scale(reinterpret_cast<HostHandle>(hwnd)); }

}  // namespace

STDMETHODIMP AccessibleNode::get_accParent(IDispatch** parent) {
    if (parent == nullptr) return E_POINTER;
    *parent = nullptr;
    return WithWindow([&](UiWindow&) -> HRESULT {
        // The client area's parent is the system's object for the whole
        // window (frame, caption); a list's is the client area.
        if (control_ != 0) {
            *parent = NewAccessible(hwnd_, 0);
            return S_OK;
        }
        return AccessibleObjectFromWindow(hwnd_, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                          reinterpret_cast<void**>(parent));
    });
}

STDMETHODIMP AccessibleNode::get_accChildCount(long* count) {
    if (count == nullptr) return E_POINTER;
    *count = 0;
    return WithWindow([&](UiWindow& w) {
        *count = static_cast<long>(Children(w).size());
        return S_OK;
    });
}

STDMETHODIMP AccessibleNode::get_accChild(VARIANT child, IDispatch** object) {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    return WithObject(child, [&](UiWindow&, const AccessibleObject& o) -> HRESULT {
        if (control_ != 0 || o.role != AccRole::kList) return S_FALSE;  // a simple element
        *object = NewAccessible(hwnd_, o.id);
        return S_OK;
    });
}

STDMETHODIMP AccessibleNode::get_accFocus(VARIANT* focus) {
    if (focus == nullptr) return E_POINTER;
    VariantInit(focus);
    return WithWindow([&](UiWindow& w) -> HRESULT {
        for (const AccessibleObject& o : Children(w)) {
            if ((o.states & kAccFocused) != 0) {
                ChildVariant(o, focus);
                return S_OK;
            }
        }
        // Neither a child nor this object has the focus: VT_EMPTY.
        const std::optional<AccessibleObject> self = Lookup(w, CHILDID_SELF);
        if (!self || (self->states & kAccFocused) == 0) return S_FALSE;
        SetChildId(focus, CHILDID_SELF);
        return S_OK;
    });
}

STDMETHODIMP AccessibleNode::get_accSelection(VARIANT* selection) {
    if (selection == nullptr) return E_POINTER;
    VariantInit(selection);
    return WithWindow([&](UiWindow& w) -> HRESULT {
        // A list's picked row; the window's children are not selected as a set.
        if (control_ == 0) return S_FALSE;
        for (const AccessibleObject& o : Children(w)) {
            if ((o.states & kAccSelected) != 0) {
                SetChildId(selection, o.item);
                return S_OK;
            }
        }
        return S_FALSE;
    });
}

STDMETHODIMP AccessibleNode::accSelect(long flags, VARIANT child) {
    constexpr long kSupported = SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION;
    if ((flags & ~kSupported) != 0 || flags == 0) return E_INVALIDARG;
    return WithObject(child, [&](UiWindow& w, const AccessibleObject& o) -> HRESULT {
        if (o.role == AccRole::kWindow) return S_FALSE;
        bool done = true;
        if ((flags & SELFLAG_TAKEFOCUS) != 0) done = FocusAccessible(w, o.id);
        // Selecting a list's row is picking it, as its default action does.
        if ((flags & SELFLAG_TAKESELECTION) != 0) done = done && o.item > 0 && DoDefaultAction(w, o.id, o.item);
        // The toolkit reports what changed after the next message it handles.
        PostMessageW(hwnd_, WM_NULL, 0, 0);
        return done ? S_OK : S_FALSE;
    });
}

STDMETHODIMP AccessibleNode::accLocation(long* left, long* top, long* width, long* height, VARIANT child) {
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
    *left = *top = *width = *height = 0;
    return WithObject(child, [&](UiWindow&, const AccessibleObject& o) {
        // The tree is in logical screen pixels; readers want the device's.
        const RectI r = ToDevice(o.screen, ScaleOf(hwnd_));
        *left = r.left;
        *top = r.top;
        *width = r.width;
        *height = r.height;
        return S_OK;
    });
}

STDMETHODIMP AccessibleNode::accNavigate(long direction, VARIANT start, VARIANT* end) {
    if (end == nullptr) return E_POINTER;
    VariantInit(end);
    long from = 0;
    if (!ChildIdOf(start, from)) return E_INVALIDARG;
    return WithWindow([&](UiWindow& w) -> HRESULT {
        const std::vector<AccessibleObject> children = Children(w);
        if (children.empty() && (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD)) return S_FALSE;
        if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
            if (from != CHILDID_SELF) return E_INVALIDARG;
            ChildVariant(direction == NAVDIR_FIRSTCHILD ? children.front() : children.back(), end);
            return S_OK;
        }
        // Siblings in Tab order; the system's window object navigates
        // from the client area itself.
        const bool next = direction == NAVDIR_NEXT || direction == NAVDIR_DOWN || direction == NAVDIR_RIGHT;
        const bool previous = direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP || direction == NAVDIR_LEFT;
        if (from == CHILDID_SELF || (!next && !previous)) return from == CHILDID_SELF ? S_FALSE : E_INVALIDARG;
        const auto at = std::find_if(children.begin(), children.end(),
                                     [&](const AccessibleObject& o) { return IdOf(o) == from; });
        if (at == children.end()) return E_INVALIDARG;
        if (next && at + 1 != children.end()) {
            ChildVariant(*(at + 1), end);
            return S_OK;
        }
        if (previous && at != children.begin()) {
            ChildVariant(*(at - 1), end);
            return S_OK;
        }
        return S_FALSE;
    });
}

STDMETHODIMP AccessibleNode::accHitTest(long x, long y, VARIANT* child) {
    if (child == nullptr) return E_POINTER;
    VariantInit(child);
    return WithWindow([&](UiWindow& w) -> HRESULT {
        const float scale = ScaleOf(hwnd_);
        const std::optional<AccessibleObject> o =
            AccessibleAt(w, ToLogical(static_cast<int>(x), scale), ToLogical(static_cast<int>(y), scale));
        if (!o) return S_FALSE;  // outside the window
        if (control_ != 0) {
            // A list answers for its own rows and itself only.
            if (o->id != control_) return S_FALSE;
            SetChildId(child, o->item);
            return S_OK;
        }
        if (o->item > 0) {
            // A row: the list it belongs to answers for it.
            const std::optional<AccessibleObject> list = DescribeControl(w, o->id);
            if (list) ChildVariant(*list, child);
            return list ? S_OK : S_FALSE;
        }
        ChildVariant(*o, child);
        return S_OK;
    });
}

STDMETHODIMP AccessibleNode::accDoDefaultAction(VARIANT child) {
    return WithObject(child, [&](UiWindow&, const AccessibleObject& o) -> HRESULT {
        if (o.defaultAction.empty()) return DISP_E_MEMBERNOTFOUND;
        if ((o.states & kAccUnavailable) != 0) return E_FAIL;
        // Carried out after this call returns: a button may open a modal box,
        // which must not hold the reader's call until it closes.
        const BOOL posted = PostMessageW(hwnd_, kAccessibleActionMessage, static_cast<WPARAM>(o.id),
                                         static_cast<LPARAM>(o.item));
        return posted ? S_OK : E_FAIL;
    });
}

STDMETHODIMP AccessibleNode::Next(ULONG wanted, VARIANT* out, ULONG* fetched) {
    if (out == nullptr || (wanted > 1 && fetched == nullptr)) return E_POINTER;
    ULONG n = 0;
    const HRESULT result = WithWindow([&](UiWindow& w) {
        const std::vector<AccessibleObject> children = Children(w);
        while (n < wanted && cursor_ < children.size()) ChildVariant(children[cursor_++], &out[n++]);
        return n == wanted ? S_OK : S_FALSE;
    });
    if (fetched != nullptr) *fetched = n;
    return result;
}

STDMETHODIMP AccessibleNode::Skip(ULONG count) {
    return WithWindow([&](UiWindow& w) {
        const ULONG total = static_cast<ULONG>(Children(w).size());
        const bool all = cursor_ + count <= total;
        cursor_ = std::min(total, cursor_ + count);
        return all ? S_OK : S_FALSE;
    });
}

STDMETHODIMP AccessibleNode::Clone(IEnumVARIANT** copy) {
    if (copy == nullptr) return E_POINTER;
    *copy = nullptr;
    return WithWindow([&](UiWindow&) {
        *copy = new AccessibleNode(hwnd_, control_, cursor_);
        return S_OK;
    });
}

IAccessible* NewAccessible(HWND hwnd, int control) { return new AccessibleNode(hwnd, control, 0); }

}  // namespace qh::win32
