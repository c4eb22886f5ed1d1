// The updater's window "青禾计算器升级程序": the banner on the left, the
// status line, the release notes or the download list, the main and cancel
// buttons and, at the end, the two check boxes. In interactive mode it is
// shown and every stage waits for the user; in automatic mode it is never
// shown, the stages run by themselves and the window closes itself.
#pragma once

#include <thread>
#include <vector>

#include "renew/update_stages.h"
#include "renew/updater_controls.h"
#include "toolkit/platform.h"

namespace qh {

// The title the calculator looks for before it replaces the updater.
inline constexpr char kUpdaterWindowTitle[] = "青禾计算器升级程序";

// How long the updater waits for the calculator's windows to go before it
// gives up: a calculator that is stuck must not keep the updater hanging.
inline constexpr int kCalculatorQuitWaitMs = 5000;

// Asks every running calculator window to quit (message 1024), before the
// installation replaces its files, and waits until none is left, at most
// kCalculatorQuitWaitMs. False when one is still there.
bool QuitCalculators(Host& host);

class UpdaterWindow {
public:
    UpdaterWindow(Platform& platform, UpdaterState& state);
    // Stops the stages still running and waits for them.
    ~UpdaterWindow();
    UpdaterWindow(const UpdaterWindow&) = delete;
    UpdaterWindow& operator=(const UpdaterWindow&) = delete;

    // Creates the window and its controls with the built-in banner, starts
    // fetching the server's banner on a worker, shows the window in
    // interactive mode and starts the version check. False when the window
    // cannot be created.
    bool Build();
    UpdaterControls& Controls() { return c_; }

private:
    void CreateControls();
    // Runs on a worker: takes the server's banner where FetchBannerContent
    // gives one.
    void LoadBanner();
    int OnControlEvent(int id);
    std::intptr_t OnMessage(int message);
    int Paint(Graphics& g, int width, int height);
    // Runs a stage on a worker thread of its own.
    void StartStage(void (UpdateStages::*stage)());
    void Finish();

    Platform& platform_;
    UpdaterState& state_;
    UpdaterControls c_;
    UpdateStages stages_{c_, state_};
    std::vector<std::thread> workers_;
};

}  // namespace qh
