// X11TestHost: the X11 host with the driving interface of the headless host,
// so the same toolkit tests run against real X11 windows. Input is sent to
// the window as the messages the host makes of X events; the clock is the
// test's, so timers and animations are exact; every presentation still goes
// to the X server and is also kept for the checks. Pumping handles the
// messages and calls queued for the window's thread and every X event the
// server has sent.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "toolkit/injected_input.h"
#include "toolkit/x11/x11_host.h"

namespace qh::x11 {

class X11TestHost : public X11Host, public InjectedInput<X11TestHost> {
public:
    struct Presentation {
        HostHandle window = 0;
        RectI area;
        int alpha = 255;
    };

    // --- the parts of the host the test takes over ---
    void Sleep(int milliseconds) override { AdvanceClock(milliseconds); }
    // A real caption drag hands the pointer to a window manager.
    void BeginMove(HostHandle window) override;
    void ShowTooltip(HostHandle window, const Text& text) override;
    void Present(HostHandle window, const Bitmap& image, const RectI& area, int alpha) override;
    bool KeyPressed(int vk) override;

    // --- driving, as the headless host offers it ---
    std::intptr_t Send(HostHandle window, int message, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
    // MouseMove, MouseDown, MouseUp, Click, DoubleClick and TypeKey come
    // from InjectedInput.
    void HoldKey(int vk, bool down);
    void AdvanceClock(int milliseconds);
    long long Now() const { return now_; }
    int ProcessPending() { return ProcessQueued(); }
    bool PumpUntil(const std::function<bool()>& pred, int maxRounds = 100000);

    bool Exists(HostHandle window) const { return Windows().Find(window) != nullptr; }
    bool Visible(HostHandle window) const { return Windows().Visible(window); }
    bool Captured(HostHandle window) const { return Windows().Captured(window); }
    int MoveRequests() const { return moveRequests_; }
    Text Tooltip() const { return tooltip_; }
    const std::vector<Presentation>& Presentations() const { return presentations_; }
    void ClearPresentations() { presentations_.clear(); }
    // What the window shows: read back from the X server while the window is
    // viewable, else what was presented to it (a hidden X window keeps no pixels).
    Bitmap Screen(HostHandle window);
    RectI CaretRect(HostHandle window) const;
    Display* XDisplay() const { return X11Host::XDisplay(); }

protected:
    long long Clock() const override { return now_; }

private:
    std::map<int, bool> keys_;
    long long now_ = 0;
    int moveRequests_ = 0;
    Text tooltip_;
    std::vector<Presentation> presentations_;
    std::map<HostHandle, Bitmap> presented_;
};

}  // namespace qh::x11
