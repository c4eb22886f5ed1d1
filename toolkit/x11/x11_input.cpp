// The X11 host's keyboard: keys as Win32 virtual-key numbers, and characters
// as GBK bytes, each byte one WM_CHAR (a double-byte character arrives as its
// lead byte, then its trail byte), as the toolkit's edit collects them.
// Characters come through an X input method (XIM) where one opens, so that a
// Chinese input method can commit text, and its window follows the edit's
// caret; without one, from XLookupString.
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <clocale>
#include <cstring>
#include <cwchar>
#include <string>

#include "runtime/startup_trace.h"
#include "runtime/system.h"
#include "toolkit/messages.h"
#include "toolkit/x11/x11_state.h"

namespace qh::x11 {

namespace {

struct KeyMap {
    KeySym sym;
    int vk;
};
constexpr KeyMap kKeys[] = {
    {XK_Tab, vk::kTab},       {XK_ISO_Left_Tab, vk::kTab}, {XK_Return, vk::kEnter}, {XK_KP_Enter, vk::kEnter},
    {XK_space, vk::kSpace},   {XK_End, vk::kEnd},          {XK_Home, vk::kHome},    {XK_Left, vk::kLeft},
    {XK_Right, vk::kRight},   {XK_Up, 38},                 {XK_Down, 40},           {XK_Delete, vk::kDelete},
    {XK_BackSpace, 8},        {XK_Escape, 27},             {XK_Shift_L, vk::kShift}, {XK_Shift_R, vk::kShift},
    {XK_Control_L, vk::kControl}, {XK_Control_R, vk::kControl},
};

int VirtualKey(KeySym sym) {
    for (const KeyMap& k : kKeys) {
        if (k.sym == sym) return k.vk;
    }
    if (sym >= XK_a && sym <= XK_z) return static_cast<int>(sym - XK_a) + 'A';
    if (sym >= XK_A && sym <= XK_Z) return static_cast<int>(sym - XK_A) + 'A';
    if (sym >= XK_0 && sym <= XK_9) return static_cast<int>(sym - XK_0) + '0';
    return 0;
}

KeySym SymFor(int vk) {
    for (const KeyMap& k : kKeys) {
        if (k.vk == vk) return k.sym;
    }
    if (vk >= 'A' && vk <= 'Z') return XK_a + static_cast<KeySym>(vk - 'A');
    if (vk >= '0' && vk <= '9') return XK_0 + static_cast<KeySym>(vk - '0');
    return NoSymbol;
}

void AppendUtf8(std::string& out, unsigned long c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x110000) {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The text of a key without an input method. XLookupString gives it in the
// locale's encoding, read here character by character; a byte the locale
// does not read is Latin-1 (the C locale's text). A key whose keysym is a
// Unicode one and that the locale cannot spell gives that character.
std::string LookupWithoutInputMethod(XKeyEvent& key, KeySym& sym) {
    char buffer[32] = {};
    const int n = XLookupString(&key, buffer, sizeof buffer - 1, &sym, nullptr);
    std::string utf8;
    if (n <= 0 && sym >= 0x01000100 && sym <= 0x0110FFFF) {
        AppendUtf8(utf8, sym - 0x01000000);
        return utf8;
    }
    std::mbstate_t state{};
    for (int i = 0; i < n;) {
        wchar_t c = 0;
        const std::size_t used = std::mbrtowc(&c, buffer + i, static_cast<std::size_t>(n - i), &state);
        if (used == 0 || used > static_cast<std::size_t>(n - i)) {
            AppendUtf8(utf8, static_cast<unsigned char>(buffer[i]));
            state = std::mbstate_t{};
            ++i;
        } else {
            AppendUtf8(utf8, static_cast<unsigned long>(c));
            i += static_cast<int>(used);
        }
    }
    return utf8;
}

}  // namespace

void X11Host::ChooseCharacterLocale() {
    // An input method speaks the locale's encoding: take the character type
    // from the environment when the program has not chosen one (only
    // LC_CTYPE, so number formatting stays as it is).
    const char* ctype = std::setlocale(LC_CTYPE, nullptr);
    const std::string previous = ctype != nullptr ? ctype : "C";
    if (previous == "C" || previous == "POSIX") std::setlocale(LC_CTYPE, "");
    if (!XSupportsLocale()) std::setlocale(LC_CTYPE, previous.c_str());
}

// Opening an input method reads the locale's whole Compose table (or
// connects to the input method's server), which no window needs before it
// is on the screen: the first frame on a mapped window opens it, or the
// first key or focus event if one comes sooner, and the windows made until
// then get their input contexts here. No key reaches a window before, so
// typing behaves as if it had been open from the start.
void X11Host::OpenInputMethod() {
    if (inputMethodOpened_) return;
    inputMethodOpened_ = true;
    // The input method that XMODIFIERS names, or without one Xlib's own
    // (compose sequences); none opens when the named one does not run.
    XSetLocaleModifiers("");
    inputMethod_ = XOpenIM(display_, nullptr, nullptr, nullptr);
    StartupMark("input method");
    for (auto& [window, state] : native_) {
        if (state->inputContext == nullptr) CreateInputContext(window, *state);
        if (state->inputContext != nullptr && windows_.IsActive(window)) XSetICFocus(state->inputContext);
    }
}

// The input method sees every event first and may take it.
bool X11Host::TakenByInputMethod(XEvent& e) {
    if (e.type == KeyPress || e.type == KeyRelease || e.type == FocusIn) OpenInputMethod();
    return XFilterEvent(&e, None) != False;
}

void X11Host::CloseInputMethod() {
    if (inputMethod_ != nullptr) XCloseIM(inputMethod_);
    inputMethod_ = nullptr;
}

void X11Host::CreateInputContext(HostHandle window, WindowState& state) {
    if (inputMethod_ == nullptr) return;
    XIMStyles* styles = nullptr;
    bool position = false, nothing = false;
    if (XGetIMValues(inputMethod_, XNQueryInputStyle, &styles, nullptr) == nullptr && styles != nullptr) {
        for (unsigned short i = 0; i < styles->count_styles; ++i) {
            const XIMStyle s = styles->supported_styles[i];
            position = position || s == (XIMPreeditPosition | XIMStatusNothing);
            nothing = nothing || s == (XIMPreeditNothing | XIMStatusNothing);
        }
        XFree(styles);
    }
    // Preferably the input method draws its composition where we say (the
    // edit's caret); otherwise it uses a window of its own.
    if (position) {
        XPoint spot{0, 0};
        XVaNestedList preedit = XVaCreateNestedList(0, XNSpotLocation, &spot, nullptr);
        state.inputContext = XCreateIC(inputMethod_, XNInputStyle, XIMPreeditPosition | XIMStatusNothing,
                                       XNClientWindow, window, XNFocusWindow, window, XNPreeditAttributes, preedit,
                                       nullptr);
        XFree(preedit);
        state.spotFollowsCaret = state.inputContext != nullptr;
    }
    if (state.inputContext == nullptr && nothing) {
        state.inputContext = XCreateIC(inputMethod_, XNInputStyle, XIMPreeditNothing | XIMStatusNothing,
                                       XNClientWindow, window, XNFocusWindow, window, nullptr);
    }
    if (state.inputContext == nullptr) return;
    // The input method may need events the window does not ask for yet.
    unsigned long filter = 0;
    XGetICValues(state.inputContext, XNFilterEvents, &filter, nullptr);
    XWindowAttributes attributes{};
    XGetWindowAttributes(display_, window, &attributes);
    XSelectInput(display_, window, attributes.your_event_mask | static_cast<long>(filter));
}

bool X11Host::HasInputContext(HostHandle window) {
    const WindowState* w = Native(window);
    return w != nullptr && w->inputContext != nullptr;
}

void X11Host::SetCaretRect(HostHandle window, const RectI& caret) {
    emulated::WindowRecord* r = windows_.Find(window);
    WindowState* w = Native(window);
    if (r == nullptr || w == nullptr) return;
    r->caret = caret;
    if (w->inputContext == nullptr || !w->spotFollowsCaret) return;
    // The spot is where the composed text's baseline starts: the caret's foot.
    XPoint spot{static_cast<short>(ToDevice(caret.left, scale_)),
                static_cast<short>(ToDevice(caret.top + caret.height, scale_))};
    XVaNestedList preedit = XVaCreateNestedList(0, XNSpotLocation, &spot, nullptr);
    XSetICValues(w->inputContext, XNPreeditAttributes, preedit, nullptr);
    XFree(preedit);
}

bool X11Host::KeyPressed(int vk) {
    KeySym sym = SymFor(vk);
    if (display_ == nullptr || sym == NoSymbol) return false;
    char keys[32];
    XQueryKeymap(display_, keys);
    KeyCode code = XKeysymToKeycode(display_, sym);
    bool down = (keys[code / 8] >> (code % 8)) & 1;
    if (vk == vk::kControl) {
        KeyCode right = XKeysymToKeycode(display_, XK_Control_R);
        down = down || ((keys[right / 8] >> (right % 8)) & 1);
    }
    return down;
}

void X11Host::Key(HostHandle window, XKeyEvent& key) {
    const WindowState* w = Native(window);
    if (w == nullptr) return;
    if (key.type == KeyRelease) {
        // Input methods read presses only.
        char unused[8];
        KeySym sym = NoSymbol;
        XLookupString(&key, unused, sizeof unused, &sym, nullptr);
        if (const int vk = VirtualKey(sym)) windows_.Send(window, msg::kKeyUp, vk, 1);
        return;
    }
    KeySym sym = NoSymbol;
    std::string utf8;
    if (w->inputContext != nullptr) {
        Status status = 0;
        std::string buffer(64, '\0');
        int n = Xutf8LookupString(w->inputContext, &key, buffer.data(), static_cast<int>(buffer.size()), &sym, &status);
        if (status == XBufferOverflow) {
            // A long commit from the input method: ask again with room for it.
            buffer.assign(static_cast<std::size_t>(n) + 1, '\0');
            n = Xutf8LookupString(w->inputContext, &key, buffer.data(), static_cast<int>(buffer.size()), &sym,
                                  &status);
        }
        if (status != XLookupKeySym && status != XLookupBoth) sym = NoSymbol;
        if ((status == XLookupChars || status == XLookupBoth) && n > 0) utf8.assign(buffer.data(), static_cast<std::size_t>(n));
    } else {
        utf8 = LookupWithoutInputMethod(key, sym);
    }
    if (const int vk = VirtualKey(sym)) windows_.Send(window, msg::kKeyDown, vk, 1);
    // A key with Ctrl is a command, not a character.
    if (!(key.state & ControlMask) && Native(window) != nullptr) SendCharacters(window, utf8);
}

void X11Host::SendCharacters(HostHandle window, const std::string& utf8) {
    if (utf8.empty()) return;
    // Of the control characters only Backspace is typed, as on Windows;
    // Delete and the like are keys, not characters.
    const Text gbk = System().Utf8ToGbk(utf8);
    for (const char c : gbk) {
        const unsigned char byte = static_cast<unsigned char>(c);
        if ((byte < 32 && byte != 8) || byte == 127) continue;
        windows_.Send(window, msg::kChar, byte, 1);
        if (Native(window) == nullptr) return;  // the character closed the window
    }
}

}  // namespace qh::x11
