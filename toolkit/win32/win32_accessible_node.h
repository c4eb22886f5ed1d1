// The IAccessible object of a toolkit window, or of one of its list views
// (the class; its longer calls are in win32_accessible.cpp).
// It holds the window handle and a control id only: every call finds the
// toolkit window again and reads the tree through toolkit/accessible.h on
// the window's thread, so a reader that keeps an object of a window or list
// that is gone gets CO_E_OBJNOTCONNECTED, never a dangling pointer. Child
// ids are the toolkit's control ids (stable while a control lives, so they
// are not 1..n and children are listed through IEnumVARIANT); a list's
// children are its rows 1..n. A child id that names no control (one that
// was destroyed) answers E_INVALIDARG: the object the reader holds is still
// connected, only the argument it passed names nothing.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "toolkit/toolkit.h"
#include "toolkit/win32/win32_accessible.h"
#include "toolkit/window.h"

namespace qh::win32 {

// The id a VARIANT names; VT_EMPTY is the object itself.
inline bool ChildIdOf(const VARIANT& v, long& id) {
    switch (v.vt) {
    case VT_I4: id = v.lVal; return true;
    case VT_I2: id = v.iVal; return true;
    case VT_EMPTY: id = CHILDID_SELF; return true;
    default: return false;
    }
}

inline void SetChildId(VARIANT* v, long id) {
    VariantInit(v);
    v->vt = VT_I4;
    v->lVal = id;
}

inline bool HasValue(AccRole role) {
    return role == AccRole::kEditableText || role == AccRole::kComboBox || role == AccRole::kList ||
           role == AccRole::kListItem;
}

// A text for a BSTR out-parameter: S_FALSE and null when it is empty.
inline HRESULT GiveText(const Text& text, BSTR* out) {
    *out = text.empty() ? nullptr : ToBstr(text);
    return text.empty() ? S_FALSE : S_OK;
}

class AccessibleNode final : public IAccessible, public IEnumVARIANT {
public:
    AccessibleNode(HWND hwnd, int control, ULONG cursor) : hwnd_(hwnd), control_(control), cursor_(cursor) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
        } else if (riid == __uuidof(IEnumVARIANT)) {
            *out = static_cast<IEnumVARIANT*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    STDMETHODIMP_(ULONG) Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // Readers use IAccessible directly; late binding is not offered.
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    STDMETHODIMP get_accParent(IDispatch** parent) override;
    STDMETHODIMP get_accChildCount(long* count) override;
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** object) override;
    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
        if (name == nullptr) return E_POINTER;
        *name = nullptr;
        return WithObject(child, [&](UiWindow&, const AccessibleObject& o) { return GiveText(o.name, name); });
    }
    STDMETHODIMP get_accValue(VARIANT child, BSTR* value) override {
        if (value == nullptr) return E_POINTER;
        *value = nullptr;
        return WithObject(child, [&](UiWindow&, const AccessibleObject& o) -> HRESULT {
            if (!HasValue(o.role)) return DISP_E_MEMBERNOTFOUND;
            *value = ToBstr(o.value);
            return S_OK;
        });
    }
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* text) override { return NoText(child, text); }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
        if (role == nullptr) return E_POINTER;
        VariantInit(role);
        return WithObject(child, [&](UiWindow&, const AccessibleObject& o) {
            SetChildId(role, MsaaRole(o.role));
            return S_OK;
        });
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT* state) override {
        if (state == nullptr) return E_POINTER;
        VariantInit(state);
        return WithObject(child, [&](UiWindow&, const AccessibleObject& o) {
            SetChildId(state, MsaaStates(o));
            return S_OK;
        });
    }
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* text) override { return NoText(child, text); }
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        if (file == nullptr || topic == nullptr) return E_POINTER;
        *topic = 0;
        return NoText(child, file);
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* text) override { return NoText(child, text); }
    STDMETHODIMP get_accFocus(VARIANT* focus) override;
    STDMETHODIMP get_accSelection(VARIANT* selection) override;
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (action == nullptr) return E_POINTER;
        *action = nullptr;
        return WithObject(child,
                          [&](UiWindow&, const AccessibleObject& o) { return GiveText(o.defaultAction, action); });
    }
    STDMETHODIMP accSelect(long flags, VARIANT child) override;
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override;
    STDMETHODIMP accHitTest(long x, long y, VARIANT* child) override;
    STDMETHODIMP accDoDefaultAction(VARIANT child) override;
    // Names and values are the controls' own; readers do not set them.
    STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

    STDMETHODIMP Next(ULONG wanted, VARIANT* out, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override {
        return WithWindow([&](UiWindow&) {
            cursor_ = 0;
            return S_OK;
        });
    }
    STDMETHODIMP Clone(IEnumVARIANT** copy) override;

private:
    using WindowFn = std::function<HRESULT(UiWindow&)>;
    using ObjectFn = std::function<HRESULT(UiWindow&, const AccessibleObject&)>;

    ~AccessibleNode() = default;

    // Runs fn on the window's thread with the window; CO_E_OBJNOTCONNECTED
    // when the window, or the list this object stands for, is gone.
    HRESULT WithWindow(const WindowFn& fn) {
        HRESULT result = CO_E_OBJNOTCONNECTED;
        if (Toolkit().host == nullptr || !IsWindow(hwnd_)) return result;
        TheHost().RunOnWindowThread(reinterpret_cast<HostHandle>(hwnd_), [&] {
            UiWindow* w = FindUiWindow(hwnd_);
            if (w == nullptr || (control_ != 0 && !DescribeControl(*w, control_))) return;
            result = fn(*w);
        });
        return result;
    }
    // Runs fn with the object a child id names; E_INVALIDARG when it names none.
    HRESULT WithObject(const VARIANT& child, const ObjectFn& fn) {
        long id = 0;
        if (!ChildIdOf(child, id)) return E_INVALIDARG;
        return WithWindow([&](UiWindow& w) -> HRESULT {
            const std::optional<AccessibleObject> o = Lookup(w, id);
            return o ? fn(w, *o) : E_INVALIDARG;
        });
    }
    std::optional<AccessibleObject> Lookup(UiWindow& w, long id) const {
        if (control_ != 0) return id >= 0 ? DescribeControl(w, control_, static_cast<int>(id)) : std::nullopt;
        if (id == CHILDID_SELF) return DescribeWindow(w);
        return id > 0 ? DescribeControl(w, static_cast<int>(id)) : std::nullopt;
    }
    // Properties the tree does not have, for an object that exists.
    HRESULT NoText(const VARIANT& child, BSTR* out) {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        return WithObject(child, [](UiWindow&, const AccessibleObject&) { return DISP_E_MEMBERNOTFOUND; });
    }
    // The window's visible controls in Tab order, or the list's rows.
    std::vector<AccessibleObject> Children(UiWindow& w) const {
        if (control_ == 0) return AccessibleChildren(w);
        std::vector<AccessibleObject> rows;
        const std::optional<AccessibleObject> list = DescribeControl(w, control_);
        for (int item = 1; list && item <= list->itemCount; ++item) {
            if (auto row = DescribeControl(w, control_, item)) rows.push_back(*row);
        }
        return rows;
    }
    // How this object names one of its children (a control's id or a row).
    long IdOf(const AccessibleObject& o) const { return control_ == 0 ? o.id : o.item; }
    // A child as a VARIANT: a list view of the window as an object of its
    // own, anything else as a simple element named by its id.
    void ChildVariant(const AccessibleObject& o, VARIANT* out) const {
        if (control_ == 0 && o.role == AccRole::kList) {
            VariantInit(out);
            out->vt = VT_DISPATCH;
            out->pdispVal = NewAccessible(hwnd_, o.id);
            return;
        }
        SetChildId(out, o.id == 0 && o.item == 0 ? CHILDID_SELF : IdOf(o));
    }

    LONG refs_ = 1;
    const HWND hwnd_;
    const int control_;  // 0: the window's client area; else the list view's id
    ULONG cursor_;       // the enumeration's place among the children
};

}  // namespace qh::win32
