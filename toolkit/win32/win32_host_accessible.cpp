// The Win32 host's side of accessibility: WM_GETOBJECT answered with the
// window's IAccessible object, the readers' default actions carried out,
// whether a reader listens, and the toolkit's changes passed on to readers
// as WinEvents (NotifyWinEvent).
#include "toolkit/win32/win32_accessible.h"
#include "toolkit/win32/win32_host.h"
#include "toolkit/win32/win32_host_state.h"
#include "toolkit/window.h"

namespace qh::win32 {
namespace {

constexpr DWORD kWinEvents[] = {
    EVENT_OBJECT_FOCUS,        // AccEvent::kFocus
    EVENT_OBJECT_NAMECHANGE,   // AccEvent::kNameChange
    EVENT_OBJECT_VALUECHANGE,  // AccEvent::kValueChange
    EVENT_OBJECT_STATECHANGE,  // AccEvent::kStateChange
    EVENT_OBJECT_SHOW,         // AccEvent::kShow
    EVENT_OBJECT_HIDE,         // AccEvent::kHide
};

HWND Native(HostHandle window) { return reinterpret_cast<HWND>(window); }

// Lets the toolkit handle a message that changes nothing, so that it
// reports what a reader's action changed (it reports after each message).
void ReportChanges(HostWindowState& s) {
    if (s.client) s.client->HandleMessage(WM_NULL, 0, 0);
}

}  // namespace

bool AnswerGetObject(HostWindowState& s, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // The object id is a DWORD, which a 64-bit lParam may carry sign-extended or not.
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT) || FindUiWindow(s.hwnd) == nullptr) {
        return false;  // the system's own objects (the frame, the caret...)
    }
    IAccessible* object = NewAccessible(s.hwnd);
    // LresultFromObject takes its own reference for the reader.
    result = LresultFromObject(__uuidof(IAccessible), wParam, object);
    object->Release();
    s.accessibilityAsked = SUCCEEDED(static_cast<HRESULT>(result)) || s.accessibilityAsked;
    return true;
}

void RunAccessibleAction(HostWindowState& s, WPARAM wParam, LPARAM lParam) {
    UiWindow* window = FindUiWindow(s.hwnd);
    if (window == nullptr) return;
    DoDefaultAction(*window, static_cast<int>(wParam), static_cast<int>(lParam));
    ReportChanges(s);
}

bool Win32Host::AccessibilityActive(HostHandle window) {
    const HostWindowState* s = StateOf(window);
    // A reader that has not asked for the tree yet may still listen to the
    // focus through an out-of-context hook (Narrator starts that way).
    return (s != nullptr && s->accessibilityAsked) || IsWinEventHookInstalled(EVENT_OBJECT_FOCUS);
}

void Win32Host::AccessibleChanged(HostHandle window, AccEvent event, int id) {
    const auto i = static_cast<std::size_t>(event);
    if (i >= std::size(kWinEvents)) return;
    NotifyWinEvent(kWinEvents[i], Native(window), OBJID_CLIENT, id == 0 ? CHILDID_SELF : id);
}

}  // namespace qh::win32
