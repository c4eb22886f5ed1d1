#include "tests/toolkit/win32/win32_test_host.h"

#include <windows.h>

#include <thread>

#include "toolkit/geometry.h"
#include "toolkit/messages.h"

namespace qh::win32 {
namespace {

void CALLBACK EndMenuLeftOpen(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

// Wine's modal menu takes neither the keys posted before it opens nor
// EndMenu from a timer, so under Wine a test would wait in it for ever.
bool UnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

}  // namespace

void Win32TestHost::StartTimer(HostHandle window, std::uint32_t id, int milliseconds) {
    timers_[{window, id}] = Timer{milliseconds, now_ + milliseconds};
}

void Win32TestHost::StopTimer(HostHandle window, std::uint32_t id) { timers_.erase({window, id}); }

void Win32TestHost::ShowTooltip(HostHandle window, const Text& text) {
    tooltip_ = text;
    Win32Host::ShowTooltip(window, text);
}

void Win32TestHost::Present(HostHandle window, const Bitmap& image, const RectI& area, int alpha) {
    presentations_.push_back(Presentation{window, area, alpha});
    Win32Host::Present(window, image, area, alpha);
}

bool Win32TestHost::KeyPressed(int vk) {
    const auto it = keys_.find(vk);
    return it != keys_.end() ? it->second : Win32Host::KeyPressed(vk);
}

bool Win32TestHost::TrackSystemMenu(HostHandle window, int x, int y,
                                    const std::vector<SystemMenuCommand>& commands) {
    // Under Wine the toolkit's own menu stands in: it takes the same keys.
    if (UnderWine()) return false;
    const UINT_PTR guard = SetTimer(nullptr, 0, 5000, EndMenuLeftOpen);
    const bool shown = Win32Host::TrackSystemMenu(window, x, y, commands);
    KillTimer(nullptr, guard);
    return shown;
}

std::intptr_t Win32TestHost::Send(HostHandle window, int message, std::intptr_t wParam, std::intptr_t lParam) {
    return static_cast<std::intptr_t>(SendMessageW(reinterpret_cast<HWND>(window), static_cast<UINT>(message),
                                                   static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam)));
}

void Win32TestHost::HoldKey(int vk, bool down) { keys_[vk] = down; }

void Win32TestHost::AdvanceClock(int milliseconds) {
    const long long end = now_ + (milliseconds > 0 ? milliseconds : 0);
    for (;;) {
        auto next = timers_.end();
        for (auto it = timers_.begin(); it != timers_.end(); ++it) {
            if (it->second.due <= end && (next == timers_.end() || it->second.due < next->second.due)) next = it;
        }
        if (next == timers_.end()) break;
        const auto [window, id] = next->first;
        now_ = next->second.due;
        next->second.due += next->second.interval;
        Send(window, WM_TIMER, static_cast<std::intptr_t>(id), 0);
    }
    now_ = end;
}

int Win32TestHost::ProcessPending() {
    int ran = 0;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
        ++ran;
    }
    return ran;
}

bool Win32TestHost::PumpUntil(const std::function<bool()>& pred, int maxRounds) {
    for (int i = 0; i < maxRounds; ++i) {
        if (pred()) return true;
        if (ProcessPending() == 0) {
            // Calls from other threads arrive as sent messages, which a wait
            // for input delivers.
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        }
    }
    return pred();
}

bool Win32TestHost::Exists(HostHandle window) const { return IsWindow(reinterpret_cast<HWND>(window)) != 0; }

bool Win32TestHost::Visible(HostHandle window) const {
    return IsWindowVisible(reinterpret_cast<HWND>(window)) != 0;
}

bool Win32TestHost::Captured(HostHandle window) const {
    return window != 0 && GetCapture() == reinterpret_cast<HWND>(window);
}

}  // namespace qh::win32
