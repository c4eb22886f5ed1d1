// Win32TestHost: the Win32 host with the driving interface of the headless
// host, so the same toolkit tests run against real Win32 windows. Input is
// sent to the window as native messages; the clock is the test's, as in the
// headless host, so timers and animations are exact; every presentation
// still goes through UpdateLayeredWindow and is also kept for the checks.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "toolkit/injected_input.h"
#include "toolkit/win32/win32_host.h"

namespace qh::win32 {

class Win32TestHost : public Win32Host, public InjectedInput<Win32TestHost> {
public:
    struct Presentation {
        HostHandle window = 0;
        RectI area;
        int alpha = 255;
    };

    // --- the parts of the host the test takes over ---
    void StartTimer(HostHandle window, std::uint32_t id, int milliseconds) override;
    void StopTimer(HostHandle window, std::uint32_t id) override;
    void Sleep(int milliseconds) override { AdvanceClock(milliseconds); }
    // A real caption drag would start the system's modal move loop.
    void BeginMove(HostHandle) override { ++moveRequests_; }
    void ShowTooltip(HostHandle window, const Text& text) override;
    void Present(HostHandle window, const Bitmap& image, const RectI& area, int alpha) override;
    bool KeyPressed(int vk) override;
    // The real system menu, which a test closes with keys it posted before;
    // one the test leaves open ends after a few seconds instead of hanging
    // the run in the menu's loop. Under Wine, whose modal menu takes neither,
    // the toolkit's drawn menu stands in.
    bool TrackSystemMenu(HostHandle window, int x, int y, const std::vector<SystemMenuCommand>& commands) override;

    // --- driving, as the headless host offers it ---
    std::intptr_t Send(HostHandle window, int message, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
    // MouseMove, MouseDown, MouseUp, Click, DoubleClick and TypeKey come
    // from InjectedInput, sent to the window as native messages.
    void HoldKey(int vk, bool down);
    void AdvanceClock(int milliseconds);
    long long Now() const { return now_; }
    int ProcessPending();
    bool PumpUntil(const std::function<bool()>& pred, int maxRounds = 100000);

    bool Exists(HostHandle window) const;
    bool Visible(HostHandle window) const;
    bool Captured(HostHandle window) const;
    int MoveRequests() const { return moveRequests_; }
    Text Tooltip() const { return tooltip_; }
    const std::vector<Presentation>& Presentations() const { return presentations_; }
    void ClearPresentations() { presentations_.clear(); }

private:
    struct Timer {
        int interval = 0;
        long long due = 0;
    };
    std::map<std::pair<HostHandle, std::uint32_t>, Timer> timers_;
    std::map<int, bool> keys_;
    long long now_ = 0;
    int moveRequests_ = 0;
    Text tooltip_;
    std::vector<Presentation> presentations_;
};

}  // namespace qh::win32
