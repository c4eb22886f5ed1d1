// Character messages at the Win32 host's boundary. A Unicode window receives
// UTF-16 code units (WM_CHAR, WM_IME_CHAR) or UTF-32 code points
// (WM_UNICHAR); the toolkit reads GBK, one byte a WM_CHAR, and puts
// double-byte characters together itself. So each character becomes its
// code page 936 bytes, lead byte first. A character GBK cannot hold (any
// character beyond the Basic Multilingual Plane among them) becomes '?', as
// the system itself gives it to a window that reads the ANSI code page, so
// the user sees that something was typed.
#include <string>

#include "toolkit/messages.h"
#include "toolkit/win32/win32_host_state.h"

namespace qh::win32 {
namespace {

constexpr char kUnmappable = '?';

bool IsHighSurrogate(std::uint32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The GBK bytes of a code point.
std::string ToGbk(std::uint32_t codePoint) {
    if (codePoint < 0x80) return std::string(1, static_cast<char>(codePoint));
    if (codePoint > 0xFFFF || IsHighSurrogate(codePoint) || IsLowSurrogate(codePoint)) return {kUnmappable};
    const wchar_t wide = static_cast<wchar_t>(codePoint);
    char bytes[4] = {};
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(936, WC_NO_BEST_FIT_CHARS, &wide, 1, bytes, sizeof bytes, nullptr, &usedDefault);
    // Code page 936 also has single bytes above 127 (0x80 is the euro sign);
    // the toolkit would take one for the lead byte of a pair.
    if (n == 2 && !usedDefault) return std::string(bytes, 2);
    return {kUnmappable};
}

void Deliver(HostWindowState& s, std::uint32_t codePoint, LPARAM lParam) {
    for (char byte : ToGbk(codePoint)) {
        s.client->HandleMessage(WM_CHAR, static_cast<unsigned char>(byte), static_cast<std::intptr_t>(lParam));
    }
}

// A UTF-16 unit: a high surrogate waits for its low one; a surrogate
// without its partner stands for a character that cannot be known.
void DeliverUnit(HostWindowState& s, std::uint32_t unit, LPARAM lParam) {
    if (s.pendingSurrogate != 0 && !IsLowSurrogate(unit)) {
        s.pendingSurrogate = 0;
        Deliver(s, kUnmappable, lParam);
    }
    if (IsHighSurrogate(unit)) {
        s.pendingSurrogate = static_cast<wchar_t>(unit);
        return;
    }
    if (IsLowSurrogate(unit)) {
        const std::uint32_t high = s.pendingSurrogate;
        s.pendingSurrogate = 0;
        Deliver(s, high != 0 ? 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00) : kUnmappable, lParam);
        return;
    }
    Deliver(s, unit, lParam);
}

}  // namespace

bool DeliverCharacter(HostWindowState& s, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (!s.client) return false;
    switch (message) {
        case WM_CHAR:
            // The toolkit's own edit keys travel as marked characters and
            // ASCII is GBK already: both pass as they are.
            if (lParam == msg::kEditKeyMark || (wParam < 0x80 && s.pendingSurrogate == 0)) return false;
            DeliverUnit(s, static_cast<std::uint32_t>(wParam & 0xFFFF), lParam);
            break;
        case WM_IME_CHAR:
            // Handled here, the input method's character does not come back
            // from the default procedure as a WM_CHAR too.
            DeliverUnit(s, static_cast<std::uint32_t>(wParam & 0xFFFF), lParam);
            break;
        case WM_UNICHAR:
            // UNICODE_NOCHAR asks whether the window takes WM_UNICHAR.
            if (wParam == UNICODE_NOCHAR) {
                result = TRUE;
                return true;
            }
            Deliver(s, static_cast<std::uint32_t>(wParam), lParam);
            break;
        default:
            return false;
    }
    result = 0;
    return true;
}

}  // namespace qh::win32
