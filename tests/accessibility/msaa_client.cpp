// A small MSAA client, as a screen reader reads a program from another
// process: it finds a top-level window by its title and, as asked,
//   tree TITLE        prints the client area's tree through
//                     AccessibleObjectFromWindow, in the format of
//                     `uidriver tree` without rectangles and actions (UTF-8);
//   tab TITLE COUNT   hooks EVENT_OBJECT_FOCUS out of context, posts Tab
//                     COUNT times and prints the object each event names;
//   close TITLE       keeps the client area's object, closes the window and
//                     prints the HRESULT a call on the kept object returns.
// Exit status 0 when it could do what was asked, 1 otherwise.
#include <windows.h>
#include <oleacc.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr DWORD kWindowWaitMs = 10000;
constexpr DWORD kPollMs = 50;
constexpr DWORD kEventWaitMs = 1500;  // for the events of one Tab

struct RoleName {
    LONG role;
    const char* name;
};
constexpr RoleName kRoles[] = {
    {ROLE_SYSTEM_CLIENT, "window"},        {ROLE_SYSTEM_PUSHBUTTON, "push button"},
    {ROLE_SYSTEM_RADIOBUTTON, "radio button"}, {ROLE_SYSTEM_CHECKBUTTON, "check box"},
    {ROLE_SYSTEM_TEXT, "editable text"},   {ROLE_SYSTEM_COMBOBOX, "combo box"},
    {ROLE_SYSTEM_LIST, "list"},            {ROLE_SYSTEM_LISTITEM, "list item"},
    {ROLE_SYSTEM_LINK, "link"},            {ROLE_SYSTEM_GRAPHIC, "graphic"},
    {ROLE_SYSTEM_PAGETAB, "page tab"},     {ROLE_SYSTEM_STATICTEXT, "static text"},
};

// In the order `uidriver tree` prints them; MSAA's "collapsed" has no name there.
constexpr std::pair<LONG, const char*> kStates[] = {
    {STATE_SYSTEM_FOCUSED, "focused"},         {STATE_SYSTEM_FOCUSABLE, "focusable"},
    {STATE_SYSTEM_SELECTED, "selected"},       {STATE_SYSTEM_CHECKED, "checked"},
    {STATE_SYSTEM_UNAVAILABLE, "unavailable"}, {STATE_SYSTEM_INVISIBLE, "invisible"},
    {STATE_SYSTEM_READONLY, "read-only"},      {STATE_SYSTEM_SELECTABLE, "selectable"},
    {STATE_SYSTEM_EXPANDED, "expanded"},
};

std::vector<std::string> g_focusLines;

void Print(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fflush(stdout);
}

// UTF-8 with CR and LF written as \r and \n, as uidriver prints names.
std::string OneLineUtf8(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c == L'\r') { out += "\\r"; continue; }
        if (c == L'\n') { out += "\\n"; continue; }
        char bytes[8];
        const int n = WideCharToMultiByte(CP_UTF8, 0, &c, 1, bytes, sizeof bytes, nullptr, nullptr);
        out.append(bytes, static_cast<std::size_t>(n > 0 ? n : 0));
    }
    return out;
}

VARIANT Child(LONG id) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// A text the object gave; a failure other than "no such property" shows as
// its HRESULT, so that a broken call is not read as an empty text.
std::wstring TextOf(HRESULT hr, BSTR text) {
    std::wstring out = SUCCEEDED(hr) && text != nullptr ? std::wstring(text, SysStringLen(text)) : std::wstring();
    SysFreeString(text);
    if (FAILED(hr) && hr != DISP_E_MEMBERNOTFOUND) {
        wchar_t error[32];
        swprintf(error, sizeof error / sizeof error[0], L"(error 0x%08lX)", static_cast<unsigned long>(hr));
        out = error;
    }
    return out;
}

// One object as `uidriver tree` prints it, without place and action.
std::string Describe(IAccessible* object, LONG child) {
    VARIANT role, state;
    VariantInit(&role);
    VariantInit(&state);
    object->get_accRole(Child(child), &role);
    object->get_accState(Child(child), &state);
    BSTR name = nullptr, value = nullptr;
    // Each call before its text is taken: argument order is unspecified.
    const HRESULT nameResult = object->get_accName(Child(child), &name);
    const std::wstring nameText = TextOf(nameResult, name);
    const HRESULT valueResult = object->get_accValue(Child(child), &value);
    const std::wstring valueText = TextOf(valueResult, value);
    std::string line = "(role " + std::to_string(role.vt == VT_I4 ? role.lVal : -1) + ")";
    for (const RoleName& r : kRoles) {
        if (role.vt == VT_I4 && r.role == role.lVal) line = r.name;
    }
    line += " \"" + OneLineUtf8(nameText) + "\"";
    if (!valueText.empty()) line += " value=\"" + OneLineUtf8(valueText) + "\"";
    std::string states;
    for (const auto& [bit, stateName] : kStates) {
        if (state.vt == VT_I4 && (state.lVal & bit) != 0) states += (states.empty() ? "" : ",") + std::string(stateName);
    }
    return line + " states=" + (states.empty() ? "none" : states);
}

void PrintTree(IAccessible* object, int depth) {
    Print(std::string(static_cast<std::size_t>(depth) * 2, ' ') + Describe(object, CHILDID_SELF) + "\n");
    long count = 0;
    if (FAILED(object->get_accChildCount(&count)) || count <= 0) return;
    std::vector<VARIANT> children(static_cast<std::size_t>(count));
    LONG got = 0;
    if (FAILED(AccessibleChildren(object, 0, count, children.data(), &got))) return;
    for (LONG i = 0; i < got; ++i) {
        VARIANT& c = children[static_cast<std::size_t>(i)];
        if (c.vt == VT_DISPATCH && c.pdispVal != nullptr) {
            IAccessible* sub = nullptr;
            if (SUCCEEDED(c.pdispVal->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&sub)))) {
                PrintTree(sub, depth + 1);
                sub->Release();
            }
        } else if (c.vt == VT_I4) {
            Print(std::string(static_cast<std::size_t>(depth + 1) * 2, ' ') + Describe(object, c.lVal) + "\n");
        }
        VariantClear(&c);
    }
}

void CALLBACK OnFocus(HWINEVENTHOOK, DWORD, HWND hwnd, LONG objectId, LONG childId, DWORD, DWORD) {
    IAccessible* object = nullptr;
    VARIANT child;
    VariantInit(&child);
    if (FAILED(AccessibleObjectFromEvent(hwnd, static_cast<DWORD>(objectId), static_cast<DWORD>(childId), &object,
                                         &child)) || object == nullptr) {
        g_focusLines.push_back("(no object)");
        return;
    }
    std::string line = Describe(object, child.vt == VT_I4 ? child.lVal : CHILDID_SELF);
    g_focusLines.push_back(line.substr(0, line.find(" states=")));
    object->Release();
}

void PumpFor(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
    }
}

int Tabs(HWND window, int count) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, OnFocus, process, 0,
                                               WINEVENT_OUTOFCONTEXT);
    if (hook == nullptr) return 1;
    for (int i = 0; i < count; ++i) {
        // The toolkit moves the focus when Tab comes up.
        PostMessageW(window, WM_KEYDOWN, VK_TAB, 1);
        PostMessageW(window, WM_KEYUP, VK_TAB, 0xC0000001);
        PumpFor(kEventWaitMs);
    }
    UnhookWinEvent(hook);
    for (const std::string& line : g_focusLines) Print("focus " + line + "\n");
    return 0;
}

int CloseAndCall(HWND window, IAccessible* object) {
    PostMessageW(window, WM_CLOSE, 0, 0);
    for (DWORD waited = 0; IsWindow(window) && waited < kWindowWaitMs; waited += kPollMs) PumpFor(kPollMs);
    if (IsWindow(window)) {
        Print("the window did not close\n");
        return 1;
    }
    long count = 0;
    const HRESULT hr = object->get_accChildCount(&count);
    char text[64];
    std::snprintf(text, sizeof text, "after close: 0x%08lX\n", static_cast<unsigned long>(hr));
    Print(text);
    return 0;
}

HWND WaitForWindow(const wchar_t* title) {
    for (DWORD waited = 0; waited < kWindowWaitMs; waited += kPollMs) {
        if (HWND w = FindWindowW(nullptr, title)) return w;
        Sleep(kPollMs);
    }
    return nullptr;
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc < 3) {
        Print("usage: msaa_client tree|tab|close TITLE [COUNT]\n");
        return 1;
    }
    const std::wstring command = argv[1];
    CoInitialize(nullptr);
    const HWND window = WaitForWindow(argv[2]);
    if (window == nullptr) {
        Print("no window of that title\n");
        return 1;
    }
    if (command == L"tab") return Tabs(window, argc > 3 ? _wtoi(argv[3]) : 1);
    IAccessible* object = nullptr;
    const HRESULT hr = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                  reinterpret_cast<void**>(&object));
    if (FAILED(hr) || object == nullptr) {
        Print("AccessibleObjectFromWindow failed\n");
        return 1;
    }
    int status = 1;
    if (command == L"tree") {
        PrintTree(object, 0);
        status = 0;
    } else if (command == L"close") {
        status = CloseAndCall(window, object);
    }
    object->Release();
    CoUninitialize();
    return status;
}
